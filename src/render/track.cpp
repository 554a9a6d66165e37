#include "render/track.h"

#include <GL/gl.h>

#include <algorithm>
#include <climits>

#include "core/globals.h"
#include "core/settings.h"
#include "render/objects.h"
#include "render/shadow_casters.h"
#include "render/shadow_volumes.h"
#include "render/track_rules.h"

const HaloStyle HALO_SINGLE = {{0.8f, 0, 0, 0}, 100, {0, 0, 1, 0.3f}, 100};
const HaloStyle HALO_TIME_ATTACK = {{0.8f, 0, 0, 0.3f}, 100, {0, 0, 1, 0.2f}, 100};
const HaloStyle HALO_SPLIT = {{1, 0, 0, 1}, 150, {0, 0, 1, 1}, 100};

namespace {

void drawPowerupStar(const Block& block, int spinAngle) {
    const BlockBody& b = block.body;
    if (b.pointX == 0 || !b.has(FLAG_POWERUP) || block.pickupCooldown >= 1) return;
    drawBonusStar(b.z % 70 + spinAngle, b.pointX, b.y + 200, b.pointY, 1, 1, 0);
}

// One run reused by every pass keeps its storage from frame to frame.
BlockRun& blockRun() {
    static BlockRun run;
    return run;
}

// A copy grown by g on every side, drawn in the halo colour.
void drawHalo(const Block& block, const HaloStyle& style) {
    const HaloKind kind = haloKind(block);
    if (kind == HaloKind::None) return;
    const bool hurt = kind == HaloKind::Hurt;
    const int g = hurt ? style.hurtGrowth : style.iceGrowth;
    Block grown = block;
    BlockBody& b = grown.body;
    b.width += 2 * g;
    b.height += 2 * g;
    b.length += 2 * g;
    b.x += g;
    b.y += g;
    b.z -= g;
    glColor4fv(hurt ? style.hurtColour : style.iceColour);
    drawBlock(grown, true, 0);
    glColor3f(1, 1, 1);
}

// The eye's height from the model-view matrix (the eye is at -R^T t).
double eyeHeight() {
    GLdouble m[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    return -(m[4] * m[12] + m[5] * m[13] + m[6] * m[14]);
}

void beginHalos() {
    glEnable(GL_BLEND);  // additive: the blend function in force is (ONE, ONE)
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
}

void endHalos() {
    glEnable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
}

}  // namespace

// The walks visit the same blocks as a far-to-near walk that stops at the
// first block left far enough behind, but they draw them near to far: the
// picture is the same (the blocks are opaque and depth-tested), and nearer
// blocks drawn first let the rasterizer skip the texturing of everything
// they hide, which is most of a software renderer's frame.

// Index of the block that ends a walk from the last block (-1: none).
template <typename Stops>
int walkStop(const Level& level, Stops stops) {
    for (int i = level.blockCount() - 1; i >= 0; --i)
        if (stops(level.blocks[size_t(i)])) return i;
    return -1;
}

namespace {

// Calls visit(block, distance) for the blocks a split-screen view draws,
// near to far.
template <typename Visit>
void walkSplitView(const Level& level, const Craft& viewer, int facing, Visit visit) {
    const int limit = settings.drawDist;
    const int reference = viewer.camZ;
    const int count = level.blockCount();
    if (facing >= 0) {
        const int stop = walkStop(level, [&](const Block& block) { return stopsSplitWalk(block, reference, 1); });
        for (int i = stop + 1; i < count; ++i) {
            const Block& block = level.blocks[size_t(i)];
            if (drawnInSplitPass(block, reference, limit, 1)) visit(block, block.body.z - viewer.z);
        }
        return;
    }
    // Facing -z the far end is the first block: the walk runs up from it
    // and the drawing comes back down.
    int stop = count;
    for (int i = 0; i < count; ++i)
        if (stopsSplitWalk(level.blocks[size_t(i)], reference, -1)) {
            stop = i;
            break;
        }
    for (int i = stop - 1; i >= 0; --i) {
        const Block& block = level.blocks[size_t(i)];
        if (drawnInSplitPass(block, reference, limit, -1)) visit(block, viewer.z - block.body.z);
    }
}

}  // namespace

void drawTrack(const Level& level, int referenceZ) {
    const int limit = settings.drawDist;
    const int stop = walkStop(level, [&](const Block& block) { return stopsFullWalk(block, referenceZ); });
    BlockRun& run = blockRun();
    for (int i = stop + 1; i < level.blockCount(); ++i) {
        const Block& block = level.blocks[size_t(i)];
        if (drawnInFullPass(block, referenceZ, limit)) run.add(block, block.body.z - referenceZ);
    }
    run.draw();
}

void drawSplitTrack(const Level& level, const Craft& viewer, int facing, const SplitTrackOptions& options) {
    BlockRun& run = blockRun();
    // The race dims the track nobody has reached yet.
    walkSplitView(level, viewer, facing, [&](const Block& block, int distance) {
        run.add(block, distance, block.body.z > options.leadingMark ? 0.3f : 1.0f);
    });
    run.draw();
    if (options.powerupItems) {
        glColor3f(1, 1, 1);
        walkSplitView(level, viewer, facing, [&](const Block& block, int) { drawPowerupStar(block, options.spinAngle); });
    }
    glColor3f(1, 1, 1);
}

void drawShadows(const Level& level, const Craft* const* crafts, int craftCount, int referenceZ) {
    // The glow target has no stencil buffer.
    if (!settings.shadows || glowPass) return;
    const int floorY = shadowFloor(level, crafts, craftCount);
    const double eyeY = eyeHeight();
    beginShadowVolumes();
    const int limit = settings.shadowDist;
    for (int i = level.blockCount() - 1; i >= 0; --i) {
        const Block& block = level.blocks[size_t(i)];
        if (stopsFullWalk(block, referenceZ)) break;
        if (drawnInFullPass(block, referenceZ, limit) &&
            (!shadowCasterCulling() || shadowReachesAnything(level, i, crafts, craftCount, floorY, eyeY)))
            castBlockShadow(block.body, floorY);
    }
    for (int i = 0; i < craftCount; ++i)
        if (crafts[i]) castCraftShadow(*crafts[i]);
    shadeShadowedPixels();
}

void drawSplitShadows(const Craft& craftA, const Craft& craftB) {
    if (!settings.shadows || glowPass || settings.details < 2) return;
    beginShadowVolumes();
    castCraftShadow(craftA);
    castCraftShadow(craftB);
    shadeShadowedPixels();
}

void drawHalos(const Level& level, int referenceZ, const HaloStyle& style) {
    const int limit = settings.drawDist;
    beginHalos();
    for (int i = level.blockCount() - 1; i >= 0; --i) {
        const Block& block = level.blocks[size_t(i)];
        if (stopsHaloWalk(block, referenceZ)) break;
        if (block.body.z - limit < referenceZ) drawHalo(block, style);
    }
    endHalos();
}

void drawSplitHalos(const Level& level, int referenceZ, int facing, const HaloStyle& style) {
    if (facing >= 0) {
        drawHalos(level, referenceZ, style);
        return;
    }
    const int limit = settings.drawDist;
    beginHalos();
    for (int i = 0; i < level.blockCount(); ++i) {
        const Block& block = level.blocks[size_t(i)];
        if (stopsSplitWalk(block, referenceZ, -1)) break;
        if (drawnInSplitPass(block, referenceZ, limit, -1)) drawHalo(block, style);
    }
    endHalos();
}
