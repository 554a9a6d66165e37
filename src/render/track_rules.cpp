#include "render/track_rules.h"

#include "sim/craft.h"

bool stopsFullWalk(const Block& block, int referenceZ) {
    // A block with a second point may move or carry an item: never stop there.
    const BlockBody& b = block.body;
    return referenceZ > b.z + b.length + WALK_STOP_BEHIND && b.pointX == 0;
}

bool drawnInFullPass(const Block& block, int referenceZ, int limit) {
    const BlockBody& b = block.body;
    return b.z - limit < referenceZ && (referenceZ < b.z + b.length + DRAW_CUT_BEHIND || b.pointX != 0);
}

bool stopsSplitWalk(const Block& block, int referenceZ, int facing) {
    const BlockBody& b = block.body;
    if (facing < 0) return b.z - WALK_STOP_BEHIND > referenceZ;
    return referenceZ > b.z + b.length + WALK_STOP_BEHIND;
}

bool drawnInSplitPass(const Block& block, int referenceZ, int limit, int facing) {
    const BlockBody& b = block.body;
    if (facing < 0) return referenceZ < b.z + b.length + limit;
    return b.z - limit < referenceZ;
}

bool stopsHaloWalk(const Block& block, int referenceZ) {
    return referenceZ > block.body.z + block.body.length + WALK_STOP_BEHIND;
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
    if (!(referenceZ - 8000 < gateZ && gateZ < referenceZ + 4000)) return 0;
    // Opens over the last 4000 units before the gate; wide open past it.
    const int angle = 90 - (gateZ - referenceZ) * 90 / 4000;
    return angle > 90 ? 90 : angle;
}

int smokePuffCount(int health) {
    if (health >= 95) return 0;
    const int count = (95 - health) / 9;
    // A craft can be driven below 0 health for one step before it dies; the
    // trail has only ten sprites.
    return count > CRAFT_EFFECT_COUNT ? CRAFT_EFFECT_COUNT : count;
}
