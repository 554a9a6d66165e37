#include "support/glow_setup.h"

#include "core/globals.h"
#include "core/settings.h"
#include "render/glow.h"

bool startGlowEffect(int bloomWidth, int bloomHeight) {
    settings.bloomW = bloomWidth;
    settings.bloomH = bloomHeight;
    const bool ready = loadGlowExtensions() == 0 && createGlowTargets() == 0;
    if (ready) loadGlowShaders();
    bindWindowFramebuffer();
    return ready && shadersActive;
}
