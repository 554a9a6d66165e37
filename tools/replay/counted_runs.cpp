#include "replay/counted_runs.h"

void DeathCount::count(DeathCause cause) {
    switch (cause) {
        case DeathCause::Fall: ++falls; break;
        case DeathCause::Crash: ++crashes; break;
        case DeathCause::Health: ++health; break;
    }
}

void CountedSingleRun::onDeath(Craft& dead, DeathCause cause) {
    deaths.count(cause);
    SingleRun::onDeath(dead, cause);
}

void CountedSingleRun::onPongLost(Craft& player) {
    ++deaths.pongLosses;
    SingleRun::onPongLost(player);
}

void CountedSingleRun::onPongStart(Craft& craft, Level& onLevel, int blockIndex) {
    ++pongGames;
    SingleRun::onPongStart(craft, onLevel, blockIndex);
}

void CountedTimeAttackRun::onDeath(Craft& dead, DeathCause cause) {
    deaths.count(cause);
    TimeAttackRun::onDeath(dead, cause);
}

void CountedRaceRun::onDeath(Craft& dead, DeathCause cause) {
    deaths[&dead == &players[1].craft ? 1 : 0].count(cause);
    RaceRun::onDeath(dead, cause);
}

void CountedCastleRun::onDeath(Craft& dead, DeathCause cause) {
    deaths[&dead == &players[1].craft ? 1 : 0].count(cause);
    CastleRun::onDeath(dead, cause);
}
