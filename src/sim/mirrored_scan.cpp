#include <algorithm>
#include <array>
#include <climits>
#include <map>

#include "sim/track.h"

namespace {

// Where a block lies and what it is: the fields a mirrored copy keeps or
// mirrors (its flags differ by the copy's target).
using Placement = std::array<int64_t, 7>;

Placement placementOf(const BlockBody& body, int32_t type) {
    return {body.x, body.z, body.y, body.width, body.height, body.length, type};
}

}  // namespace

std::vector<int> mirroredScanOrder(const Level& arena) {
    const int count = arena.blockCount();
    if (count == 0) return {};
    // The arena is symmetric, so its extremes are mirrors of each other.
    int64_t xLow = INT64_MAX, xHigh = INT64_MIN, zLow = INT64_MAX, zHigh = INT64_MIN;
    for (const Block& block : arena.blocks) {
        const BlockBody& body = block.body;
        for (int64_t x : {int64_t(body.x), int64_t(body.x) - body.width}) {
            xLow = std::min(xLow, x);
            xHigh = std::max(xHigh, x);
        }
        for (int64_t z : {int64_t(body.z), int64_t(body.z) + body.length}) {
            zLow = std::min(zLow, z);
            zHigh = std::max(zHigh, z);
        }
    }
    const int64_t centreX2 = xLow + xHigh, centreZ2 = zLow + zHigh;
    std::map<Placement, std::vector<int>> byPlacement;
    for (int i = count - 1; i >= 0; --i) {
        const Block& block = arena.blocks[size_t(i)];
        byPlacement[placementOf(block.body, block.type)].push_back(i);
    }
    std::vector<int> order;
    order.reserve(size_t(count));
    for (const Block& block : arena.blocks) {
        const BlockBody& body = block.body;
        Placement partner = placementOf(body, block.type);
        partner[0] = centreX2 - (int64_t(body.x) - body.width);
        partner[1] = centreZ2 - (int64_t(body.z) + body.length);
        auto found = byPlacement.find(partner);
        if (found == byPlacement.end() || found->second.empty()) return {};
        // Equal blocks pair up in level order.
        order.push_back(found->second.back());
        found->second.pop_back();
    }
    return order;
}
