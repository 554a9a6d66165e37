#include "modes/timeattack/run_scene.h"

#include "core/globals.h"
#include "core/settings.h"
#include "render/camera.h"
#include "render/objects.h"
#include "render/track.h"

void drawRunScene(Craft& craft, const Level& level, int backgroundIndex) {
    applyCamera(craft);
    const bool hasTrack = !level.blocks.empty();
    TrackBackdrop backdrop(BACKDROP_SLOTS[backgroundIndex], false, hasTrack);
    if (!hasTrack) return;
    drawTrack(level, craft.z);
    backdrop.behindTrack();
    drawCraftRecord(craft);
    if (settings.glow) drawHalos(level, craft.z, HALO_TIME_ATTACK);
    if (settings.shadows && !glowPass) {
        const Craft* casters[] = {&craft};
        drawShadows(level, casters, 1, craft.z);
    }
    drawCraftTrail(craft);
    drawJumpEffect(craft);
}
