#include "support/scene_blocks.h"

#include <algorithm>
#include <vector>

Block makeBlock(int x, int y, int z, int width, int height, int length, int type) {
    Block block;
    block.type = type;
    BlockBody& b = block.body;
    b.x = x; b.y = y; b.z = z;
    b.width = width; b.height = height; b.length = length;
    b.texRepeatX = b.texRepeatY = b.texRepeatZ = 1;
    const BlockTextures slots = defaultBlockTextures(type);
    b.sideTexture = slots.side;
    b.topTexture = slots.top;
    return block;
}

namespace {

Block repeatedBlock(int type, int x, int y, int z, int width, int height, int length) {
    Block b = makeBlock(x, y, z, width, height, length, type);
    b.body.texRepeatX = std::max(1, width / 600);
    b.body.texRepeatZ = std::max(1, length / 600);
    return b;
}

}  // namespace

Level referenceTrack() {
    Level level;
    for (int row = 0; row < 110; ++row) {
        const int z = row * 1800;
        for (int lane = 0; lane < 3; ++lane) {
            const int type = (row * 3 + lane) % 7 == 0 ? (row + lane) % BLOCK_TYPE_COUNT : BLOCK_PLAIN;
            const int height = 500 + ((row + lane) % 3) * 200;
            level.blocks.push_back(repeatedBlock(type, 2500 - lane * 1700, ((row / 8) % 3) * 150, z, 1500, height, 1500));
        }
        if (row % 6 == 3) level.blocks.push_back(repeatedBlock(BLOCK_PLAIN, 900, 1400, z + 200, 1800, 300, 1200));
    }
    std::vector<Block>& blocks = level.blocks.editAll();
    std::stable_sort(blocks.begin(), blocks.end(), [](const Block& a, const Block& b) { return a.body.z < b.body.z; });
    return level;
}
