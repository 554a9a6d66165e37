#include "render/glow.h"

#include "core/globals.h"

// Placeholder until the glow effect is built: the effect reports itself
// unavailable, so renderFrame never takes the glow path.
int loadGlowExtensions() {
    shadersActive = false;
    return -1;
}
int createGlowTargets() { return -1; }
void loadGlowShaders() {}
void bindGlowFramebuffer() {}
void bindWindowFramebuffer() {}
void runGlowBlur() {}
GLuint glowTexture() { return 0; }
void releaseGlow() {}
