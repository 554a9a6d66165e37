#pragma once

// What the recorder's search drives: a copyable snapshot of a run that takes one
// recorded step at a time and says how far it got. One kind a mode:
//   SingleSim    a campaign level through the single-player run
//   TimeSim      a time-attack map
//   RaceSim      a race map's race: both crafts driving the same keys
//   RaceMapSim   a race map: its time-attack run and its race at once, since
//                one proof must finish both
//   CastleSim    one attack of craft A on a castle map, until it scores
// Each keeps its own replay clock, so copies played ahead never disturb
// the run they were copied from.

#include <memory>
#include <vector>

#include "level/level.h"
#include "replay/counted_runs.h"
#include "replay/level_check.h"
#include "replay/recording.h"
#include "replay/replay_clock.h"
#include "replay/search.h"
#include "sim/block_window.h"

// The level a sim drives and what the plans look up in it, shared by every
// copy (the blocks the window was built from never change shape).
struct PlanLevel {
    explicit PlanLevel(const Level& level);
    BlockZWindow window;
    int64_t lowestLanding;  // below it a craft can land on nothing any more
};

// The keys of a held plan for one step: a craft driving forward jumps at
// the end of the block under it where the track does not go on, and one that
// does not steer keeps to the block's middle.
HeldKeys planStep(const Craft& craft, const Level& level, const PlanLevel& plan, const HeldKeys& held);


class SingleSim {
public:
    explicit SingleSim(const Level& level);
    void step(const HeldKeys& keys);
    bool lost() const {
        return run_.deaths.total() > 0 || run_.craft.lives < startLives_ || run_.craft.ypos < plan_->lowestLanding;
    }
    bool done() const { return run_.goalReached; }
    // A caught bonus craft is worth a long way.
    double progress() const { return run_.craft.z + 100000.0 * (run_.craft.lives - startLives_); }
    bool grounded() const { return run_.craft.groundType >= 0; }
    // A pong game holds the craft where it is; that is no standstill.
    bool busy() const { return run_.computer.pong.running(); }
    // During a pong game the craft follows the ball sideways; otherwise the
    // plan with a jump at the block's end.
    HeldKeys planKeys(const HeldKeys& plan) const;

private:
    CountedSingleRun run_;
    HeldKeys before_;
    ReplayClockState clock_{};
    int startLives_ = 0;
    std::shared_ptr<const PlanLevel> plan_;
};

class TimeSim {
public:
    explicit TimeSim(const Level& level);
    void step(const HeldKeys& keys);
    bool lost() const { return run_.deaths.total() > 0 || run_.craft.ypos < plan_->lowestLanding; }
    bool done() const { return run_.goalReached; }
    double progress() const { return run_.craft.z; }
    bool grounded() const { return run_.craft.groundType >= 0; }
    bool busy() const { return false; }
    HeldKeys planKeys(const HeldKeys& plan) const { return planStep(run_.craft, run_.level, *plan_, plan); }

private:
    CountedTimeAttackRun run_;
    HeldKeys before_;
    std::shared_ptr<const PlanLevel> plan_;
};

class RaceSim {
public:
    explicit RaceSim(const Level& level);
    void step(const HeldKeys& keys);
    bool lost() const;
    bool done() const { return race_.players[0].points > 0 && race_.players[1].points > 0; }
    // The craft behind; a craft that has scored waits at the start.
    double progress() const;
    bool grounded() const;
    bool busy() const { return false; }
    HeldKeys planKeys(const HeldKeys& plan) const;

private:
    CountedRaceRun race_;
    std::shared_ptr<const PlanLevel> plan_;
};

class RaceMapSim {
public:
    explicit RaceMapSim(const Level& level) : time_(level), race_(level) {}
    void step(const HeldKeys& keys);
    bool lost() const { return time_.lost() || race_.lost(); }
    bool done() const { return time_.done() && race_.done(); }
    double progress() const;
    bool grounded() const { return time_.done() ? race_.grounded() : time_.grounded(); }
    bool busy() const { return false; }
    HeldKeys planKeys(const HeldKeys& plan) const { return time_.done() ? race_.planKeys(plan) : time_.planKeys(plan); }

private:
    TimeSim time_;
    RaceSim race_;
};

class CastleSim {
public:
    // False when the level has no castles.
    static bool make(const Level& level, CastleSim& sim);
    void step(const HeldKeys& keys);
    bool lost() const;
    bool done() const;
    double progress() const { return castle_.players[0].craft.z; }
    bool grounded() const { return castle_.players[0].craft.groundType >= 0; }
    bool busy() const { return false; }
    HeldKeys planKeys(const HeldKeys& plan) const {
        return planStep(castle_.players[0].craft, castle_.level, *plan_, plan);
    }

private:
    CountedCastleRun castle_;
    std::shared_ptr<const PlanLevel> plan_;
};

struct RecordResult {
    std::vector<HeldKeys> keys;  // also when the goal was not reached
    bool reached = false;
    int deadEnds = 0;
};

// Holds `prefix`, then searches on through the rules of `mode`. A castle
// map without castles gives nothing.
RecordResult recordLevel(const Level& level, LevelMode mode, const std::vector<HeldKeys>& prefix,
                         const SearchOptions& options);
