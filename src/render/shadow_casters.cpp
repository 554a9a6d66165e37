#include "render/shadow_casters.h"

#include <algorithm>
#include <climits>

namespace {

bool cullingEnabled = true;

struct Box {
    long long x0, x1, y0, y1, z0, z1;
};

bool overlap(long long a0, long long a1, long long b0, long long b1) { return a0 <= b1 && b0 <= a1; }

bool intersects(const Box& a, const Box& b) {
    return overlap(a.x0, a.x1, b.x0, b.x1) && overlap(a.y0, a.y1, b.y0, b.y1) && overlap(a.z0, a.z1, b.z0, b.z1);
}

// Everything a block's drawing may cover: the chamfered and rounded bodies
// stand 50 units outside the footprint.
Box blockBounds(const BlockBody& body) {
    const BlockCorner at = blockCorner(body);
    return {(long long)at.x - body.width - 50, (long long)at.x + 50, (long long)at.y - body.height - 50,
            (long long)at.y, (long long)at.z - 50, (long long)at.z + body.length + 50};
}

// The body, fin, engines and flames, and the marker high above.
Box craftBounds(const Craft& craft) {
    return {(long long)craft.x - 400, (long long)craft.x + 400, (long long)craft.ypos - 200,
            (long long)craft.ypos + 1500, (long long)craft.z - 800, (long long)craft.z + 800};
}

}  // namespace

int shadowFloor(const Level& level, const Craft* const* crafts, int craftCount) {
    long long lowest = LLONG_MAX;
    for (const Block& block : level.blocks) lowest = std::min(lowest, blockBounds(block.body).y0);
    for (int i = 0; i < craftCount; ++i)
        if (crafts[i]) lowest = std::min(lowest, craftBounds(*crafts[i]).y0);
    if (lowest == LLONG_MAX) lowest = 0;
    return int(std::max<long long>(lowest - 100, INT_MIN / 2));
}

bool shadowReachesAnything(const Level& level, int casterIndex, const Craft* const* crafts, int craftCount,
                           int floorY, double eyeY) {
    const BlockBody& caster = level.blocks[size_t(casterIndex)].body;
    const BlockCorner at = blockCorner(caster);
    if (eyeY < double(at.y) - caster.height) return true;  // its own bottom shows
    // The prism under the top face, a unit inside its walls: a neighbour
    // that only touches a wall is not inside.
    const Box prism{(long long)at.x - caster.width + 1, (long long)at.x - 1, (long long)floorY,
                    (long long)at.y - 1, (long long)at.z + 1, (long long)at.z + caster.length - 1};
    for (int i = 0; i < level.blockCount(); ++i)
        if (i != casterIndex && intersects(prism, blockBounds(level.blocks[size_t(i)].body))) return true;
    for (int i = 0; i < craftCount; ++i)
        if (crafts[i] && intersects(prism, craftBounds(*crafts[i]))) return true;
    return false;
}

void setShadowCasterCulling(bool enabled) { cullingEnabled = enabled; }
bool shadowCasterCulling() { return cullingEnabled; }
