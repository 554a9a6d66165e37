#include "render/track_rules.h"

#include <cstdint>

#include "sim/craft.h"

// Block positions from a hostile level file can sit near the ends of the int
// range: every sum and difference here is taken in 64 bits, as the
// simulation's contact tests do, so no level can overflow them.
namespace {

int64_t nearEnd(const BlockBody& b) { return b.z; }
int64_t farEnd(const BlockBody& b) { return int64_t(b.z) + b.length; }

}  // namespace

bool stopsFullWalk(const Block& block, int referenceZ) {
    // A block with a second point may move or carry an item: never stop there.
    const BlockBody& b = block.body;
    return referenceZ > farEnd(b) + WALK_STOP_BEHIND && b.pointX == 0;
}

bool drawnInFullPass(const Block& block, int referenceZ, int limit) {
    const BlockBody& b = block.body;
    return nearEnd(b) - limit < referenceZ && (referenceZ < farEnd(b) + DRAW_CUT_BEHIND || b.pointX != 0);
}

bool stopsSplitWalk(const Block& block, int referenceZ, int facing) {
    const BlockBody& b = block.body;
    if (facing < 0) return nearEnd(b) - WALK_STOP_BEHIND > referenceZ;
    return referenceZ > farEnd(b) + WALK_STOP_BEHIND;
}

bool drawnInSplitPass(const Block& block, int referenceZ, int limit, int facing) {
    const BlockBody& b = block.body;
    if (facing < 0) return referenceZ < farEnd(b) + limit;
    return nearEnd(b) - limit < referenceZ;
}

bool stopsHaloWalk(const Block& block, int referenceZ) {
    return referenceZ > farEnd(block.body) + WALK_STOP_BEHIND;
}

BlockDetail blockDetail(int details, int distance, bool halo) {
    if (details == 0 || distance > 50000) return BlockDetail::Low;
    if (details == 1 || distance > 25000 || halo) return BlockDetail::Medium;
    return BlockDetail::High;
}

BlockTextures blockTextureSlots(const Block& block) {
    if (block.body.changedTypeTime < 1) return {block.body.sideTexture, block.body.topTexture};
    return defaultBlockTextures(block.body.changedType);
}

HaloKind haloKind(const Block& block) {
    const BlockBody& b = block.body;
    if (block.type == BLOCK_HURT || (b.changedType == BLOCK_HURT && b.changedTypeTime > 0)) return HaloKind::Hurt;
    if (block.type == BLOCK_ICE || (b.changedType == BLOCK_ICE && b.changedTypeTime > 0)) return HaloKind::Ice;
    return HaloKind::None;
}

int checkpointDoorAngle(int gateZ, int referenceZ) {
    const int64_t ahead = int64_t(gateZ) - referenceZ;
    if (!(-8000 < ahead && ahead < 4000)) return 0;
    // Opens over the last 4000 units before the gate; wide open past it.
    const int64_t angle = 90 - ahead * 90 / 4000;
    return angle > 90 ? 90 : int(angle);
}

int smokePuffCount(int health) {
    if (health >= 95) return 0;
    const int64_t count = (95 - int64_t(health)) / 9;
    // A craft can be driven below 0 health for one step before it dies; the
    // trail has only ten sprites.
    return count > CRAFT_EFFECT_COUNT ? CRAFT_EFFECT_COUNT : int(count);
}
