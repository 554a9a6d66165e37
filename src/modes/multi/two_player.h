#pragma once

#include <cstdint>

#include "level/level.h"
#include "sim/craft.h"
#include "sim/physics.h"

// What the race and the castle attack share: the respawn of a craft, the
// phase switch of the level that both crafts drive, and the key routing to
// both crafts. Plain simulation code: tests drive it without a window.

// The two players of a split screen: A (first key group, lower half, called
// "Player 2" on screen) and B (second key group, upper half, "Player 1").
constexpr int PLAYER_A = 0;
constexpr int PLAYER_B = 1;

// Puts a craft back at (x, y, z) facing +z (facing +1) or -z (-1): health
// 100, speeds, ground types and the touched block cleared, keys released,
// the eye 5000 behind and 1500 above, a forced view angle of 35 and the
// effects expired. Lives, points, phase and the other run counts stay.
void respawnTwoPlayerCraft(Craft& craft, int32_t x, int32_t y, int32_t z, int facing);

// The level advance both crafts run in their own steps (so twice per step
// while both drive). When either craft's phase is 1 both become 2, the
// animation counter restarts and every moving block rewinds (one that is
// exactly `moving` 1 stops); else, when either is in phase 2, the level
// moves on with the slower HURT pulse. True when the level advanced.
bool advanceSharedLevel(Level& level, Craft& a, Craft& b);

// The HURT pulse of the two-player modes.
constexpr float TWO_PLAYER_HURT_PULSE = 0.007f;

// Marks a key held or released in both crafts' key tables.
void holdKeyForBoth(Craft& a, Craft& b, int code, bool held);

// The square of the distance between two crafts' positions, in 64 bits.
int64_t craftDistanceSquared(const Craft& a, const Craft& b);

// The frame's steps of a two-player run, in rounds: `stepRound(due)` steps
// each player whose `due(player)` says a step is due on his accumulator
// (taking it off) and returns whether one stepped; at most
// MAX_STEPS_PER_FRAME rounds.
template <class Players, class StepRound>
void stepDueRounds(Players& players, StepRound stepRound) {
    for (int round = 0; round < MAX_STEPS_PER_FRAME; ++round) {
        const bool stepped = stepRound([&players](int player) {
            StepAccumulator& accumulator = players[player].accumulator;
            if (!stepDue(accumulator)) return false;
            stepFinished(accumulator);
            return true;
        });
        if (!stepped) break;
    }
}
