#include "level/level.h"

BlockCorner blockCornerAt(const BlockBody& body, int32_t moveTime) {
    if (body.movePeriod == 0 || moveTime == 0) return {body.x, body.y, body.z};
    float legs = float(moveTime) / float(body.movePeriod * STEPS_PER_MOVE_PERIOD);
    int leg = int(legs);
    float fraction = (leg % 2 == 0) ? legs - float(leg) : 1.0f - (legs - float(leg));
    return {body.x + int32_t(float(body.pointX - body.x) * fraction),
            body.y + int32_t(float(body.pointY - body.y) * fraction),
            body.z + int32_t(float(body.pointZ - body.z) * fraction)};
}

BlockTextures defaultBlockTextures(int type) {
    static const BlockTextures table[BLOCK_TYPE_COUNT] = {
        {8, 0}, {8, 1}, {8, 2}, {8, 3}, {8, 4}, {8, 5},
        {6, 6}, {8, 15}, {8, 20}, {8, 21}, {26, 26}, {8, 37}};
    if (type < 0 || type >= BLOCK_TYPE_COUNT) return table[0];
    return table[type];
}
