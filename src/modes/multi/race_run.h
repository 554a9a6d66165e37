#pragma once

#include <cstdint>
#include <string>

#include "level/level.h"
#include "sim/craft.h"
#include "modes/multi/two_player.h"
#include "sim/physics.h"

// One player's side of a race.
struct RacePlayer {
    Craft craft;
    StepAccumulator accumulator;
    int32_t points = 0;
    int32_t distance = 0;            // level units over all finished runs
    int32_t longestRun = -99999999;  // level units; where it ended beside it
    int32_t longestRunX = 0, longestRunY = 0;
};

constexpr int RACE_START_SIDE_OFFSET = 250;  // each craft beside the track middle
constexpr int RACE_CONTACT_DISTANCE = 440;
constexpr int RACE_CONTACT_SEPARATION = 442;
constexpr int UNITS_PER_METER = 500;

// A two-player race without a window: the level, both crafts, their steps
// with the race's differences, the craft contact and the winner. The RaceM
// state feeds it keys and time and draws it; tests drive it step by step.
class RaceRun : public PlayHooks {
public:
    // Reads the level; -1 (with "Level not found.") when it is missing,
    // damaged or has no blocks, and the run then holds no level.
    int loadLevel(const std::string& path);
    bool hasLevel() const { return level.blockCount() > 0; }

    // A fresh race: both players get `lives`, no points or distance, phase 0,
    // and stand on the first block.
    void start(int lives, int gravity);
    // Back to the start without counting the run (the Reset keys, a goal, a
    // lost run). Lives, points and distance stay.
    void respawn(int player);

    // The frame's milliseconds: each player with lives left takes the steps
    // due on its own accumulator, in rounds of one step each, A first; the
    // craft contact follows each round.
    void update(int elapsedMs);
    // One round without the clock: each player with lives left one step, A
    // first, then the contact (the level tools drive races by rounds).
    void stepRound();
    // One physics step of one player (no accumulator). Died and Finished
    // end the step early.
    StepOutcome step(int player);
    // Craft against craft: closer than 440 and neither held, the crafts bump,
    // share their speed and are put 442 apart. True when they touched.
    bool contact();


    bool over() const { return players[0].craft.lives <= 0 && players[1].craft.lives <= 0; }
    // 0 for A, 1 for B: more points, then more distance; RACE_DRAW when
    // both are equal.
    int winner() const;
    // Distance shown in the half of a player: finished runs plus the
    // current one, in meters.
    int32_t shownDistanceMeters(int player) const;
    // The farthest point reached: the leading mark of the split track pass.
    int32_t farthestPoint() const;

    // PlayHooks: a lost run costs a life; a goal scores a point.
    void onDeath(Craft& craft, DeathCause cause) override;
    void onFinish(Craft& craft, int blockIndex) override;

    Level level;
    RacePlayer players[2];
    int gravity = 8;

private:
    // Each player with lives left whose `due(player)` is true steps; then the
    // contact. True when one stepped.
    template <class Due>
    bool stepRound(Due due);
    int playerOf(const Craft& craft) const { return &craft == &players[1].craft ? 1 : 0; }
    int32_t runLength(const Craft& craft) const;
    void countRun(int player);
};

// The winner rule on its own (0 A, 1 B, or a draw).
constexpr int RACE_DRAW = -1;
int raceWinner(const RacePlayer& a, const RacePlayer& b);
