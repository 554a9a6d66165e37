#pragma once

// The play modes' runs with every way of losing counted by cause. A death
// is whatever reaches the mode's death hook (a fall, a crash, health run
// out) and, in single player, a pong ball that got past the craft. The
// step's outcome alone misses some: a single-player crash goes on with its
// step, and a death before the first checkpoint gives the life back.

#include "modes/multi/castle_run.h"
#include "modes/multi/race_run.h"
#include "modes/single/single_run.h"
#include "modes/timeattack/time_attack_run.h"

struct DeathCount {
    int falls = 0;
    int crashes = 0;
    int health = 0;
    int pongLosses = 0;  // single player only

    int total() const { return falls + crashes + health + pongLosses; }
    void count(DeathCause cause);
};

class CountedSingleRun : public SingleRun {
public:
    void onDeath(Craft& dead, DeathCause cause) override;
    void onPongLost(Craft& player) override;
    void onPongStart(Craft& craft, Level& level, int blockIndex) override;
    DeathCount deaths;
    int pongGames = 0;  // games started
};

class CountedTimeAttackRun : public TimeAttackRun {
public:
    void onDeath(Craft& dead, DeathCause cause) override;
    DeathCount deaths;
};

// Counted per player (A 0, B 1).
class CountedRaceRun : public RaceRun {
public:
    void onDeath(Craft& dead, DeathCause cause) override;
    DeathCount deaths[2];
};

class CountedCastleRun : public CastleRun {
public:
    void onDeath(Craft& dead, DeathCause cause) override;
    DeathCount deaths[2];
};
