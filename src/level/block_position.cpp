#include "level/level.h"

namespace {
// Offsets from a hostile file can leave the int range; keep them defined
// (saturated) instead of letting the conversion overflow. Sane levels never
// come near.
int64_t truncatedOffset(float offset) {
    if (!(offset > -4.0e18f && offset < 4.0e18f)) return offset > 0 ? INT64_C(4000000000000000000) : -INT64_C(4000000000000000000);
    return int64_t(offset);
}

int32_t movedCoordinate(int32_t from, int32_t to, float fraction) {
    float offset = float(int64_t(to) - int64_t(from)) * fraction;
    return int32_t(uint32_t(uint64_t(int64_t(from) + truncatedOffset(offset))));
}
}  // namespace

BlockCorner blockCornerAt(const BlockBody& body, int32_t moveTime) {
    if (body.movePeriod == 0 || moveTime == 0) return {body.x, body.y, body.z};
    float legs = float(moveTime) / float(int64_t(body.movePeriod) * STEPS_PER_MOVE_PERIOD);
    int64_t leg = int64_t(legs);
    float fraction = (leg % 2 == 0) ? legs - float(leg) : 1.0f - (legs - float(leg));
    return {movedCoordinate(body.x, body.pointX, fraction),
            movedCoordinate(body.y, body.pointY, fraction),
            movedCoordinate(body.z, body.pointZ, fraction)};
}

BlockTextures defaultBlockTextures(int type) {
    static const BlockTextures table[BLOCK_TYPE_COUNT] = {
        {8, 0}, {8, 1}, {8, 2}, {8, 3}, {8, 4}, {8, 5},
        {6, 6}, {8, 15}, {8, 20}, {8, 21}, {26, 26}, {8, 37}};
    if (type < 0 || type >= BLOCK_TYPE_COUNT) return table[0];
    return table[type];
}
