#include "sim/block_window.h"

#include <algorithm>
#include <climits>

namespace {

// The z extent a block can cover: both ends of both points of its motion.
// The single-precision offset may overshoot its end point by a rounding step
// on very long motions, hence the slack.
void zExtent(const BlockBody& body, int64_t& nearEnd, int64_t& farEnd) {
    int64_t from = body.z, to = body.z;
    if (body.movePeriod != 0) {
        from = std::min<int64_t>(body.z, body.pointZ);
        to = std::max<int64_t>(body.z, body.pointZ);
        int64_t slack = ((to - from) >> 22) + 2;
        from -= slack;
        to += slack;
    }
    nearEnd = std::min(from, from + body.length);
    farEnd = std::max(to, to + body.length);
}

}  // namespace

void BlockZWindow::build(const Level& level) {
    const size_t count = level.blocks.size();
    farthestUpTo_.assign(count, INT64_MIN);
    nearest_.assign(count, INT64_MAX);
    int64_t farthest = INT64_MIN;
    std::vector<int64_t> nearEnds(count);
    for (size_t i = 0; i < count; ++i) {
        int64_t nearEnd = 0, farEnd = 0;
        zExtent(level.blocks[i].body, nearEnd, farEnd);
        nearEnds[i] = nearEnd;
        farthest = std::max(farthest, farEnd);
        farthestUpTo_[i] = farthest;
    }
    int64_t nearest = INT64_MAX;
    for (size_t i = count; i-- > 0;) {
        nearest = std::min(nearest, nearEnds[i]);
        nearest_[i] = nearest;
    }
    built_ = true;
}

int BlockZWindow::next(int from, int64_t lo, int64_t hi) const {
    const int count = int(nearest_.size());
    if (from < 0) from = 0;
    if (from >= count) return count;
    // Blocks before the first whose running far end reaches lo all end before
    // it. Visits in level order mostly find the very next block in reach.
    if (farthestUpTo_[size_t(from)] >= lo) return nearest_[size_t(from)] > hi ? count : from;
    auto reaching = std::partition_point(farthestUpTo_.begin() + from, farthestUpTo_.end(),
                                         [lo](int64_t farEnd) { return farEnd < lo; });
    int index = int(reaching - farthestUpTo_.begin());
    // From there on, once every remaining block starts beyond hi, none can meet it.
    if (index >= count || nearest_[size_t(index)] > hi) return count;
    return index;
}
