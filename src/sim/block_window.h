#pragma once

#include <cstdint>
#include <vector>

#include "level/level.h"

// Finds, in level order, the blocks whose z extent may meet a window of z,
// without testing every block of a long level. Each block counts with the
// whole z range its motion can take it through, so a block left out can
// never meet the window. The window may change between visits (a bounce or
// a reflection moves it): the next block is looked up with the window as it
// is then, which skips exactly the blocks a test of every block in order
// would find outside it at their turn.
//
// Built from the block table once, when a computer craft spawns or a pong
// game starts; the table does not change while they run.
class BlockZWindow {
public:
    void build(const Level& level);
    // Built for this level (same block count); else rebuild.
    bool builtFor(const Level& level) const { return built_ && int(nearest_.size()) == level.blockCount(); }

    // The first index >= from of a block that may meet [lo, hi], or the
    // block count when none may.
    int next(int from, int64_t lo, int64_t hi) const;

private:
    bool built_ = false;
    std::vector<int64_t> farthestUpTo_;  // greatest far end of blocks 0..i
    std::vector<int64_t> nearest_;       // least near end of blocks i..last
};
