#include "support/scene_blocks.h"

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
