#pragma once

#include <cstdint>

#include "level/level.h"
#include "sim/block_window.h"
#include "sim/craft.h"

// The computer crafts' driver: it presses the same five keys a player
// would (the first key set, through the checked key path), from a route it
// plans over the blocks ahead. One route is shared by both computer crafts;
// only one of them is ever active.

constexpr int CEILING_SLOTS = 4;
constexpr int NO_BLOCK = -1;

struct RouteState {
    int referenceBlock = NO_BLOCK;  // the block the route was planned from
    int nextBlock = NO_BLOCK;       // the block the craft heads for
    int afterNext = NO_BLOCK;       // the block after it
    int ceilingsAhead[CEILING_SLOTS] = {NO_BLOCK, NO_BLOCK, NO_BLOCK, NO_BLOCK};   // over the current block
    int ceilingsBeyond[CEILING_SLOTS] = {NO_BLOCK, NO_BLOCK, NO_BLOCK, NO_BLOCK};  // over nextBlock
    // Where a jump started now would take the craft, in world units; set each step.
    int64_t forwardReach = 0, leftReach = 0, rightReach = 0;
    void clear() { *this = RouteState{}; }
};

// Steps a jump lasts when it lands `heightDifference` (target top - current
// top) higher: about 30 on the level, fewer upward, up to 68 downward.
int airSteps(int64_t heightDifference);

// One step of the driver for computer craft `craft` (after its physics step),
// `previousBlock` being the block index it had before that step. Skill
// (craft.phase) must already be within 0..2. `jumpLabel` receives the label
// of the jump rule that decides ("JUMP 1" .. "JUMP 7", "JUUUUUMP !!!") and
// keeps the last one otherwise.
void driveComputerCraft(Craft& craft, int previousBlock, const Craft& player, const Level& level,
                        const BlockZWindow& window, RouteState& route, const char*& jumpLabel);
