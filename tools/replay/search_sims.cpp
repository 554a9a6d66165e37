#include "replay/search_sims.h"

#include <algorithm>

#include "replay/level_check.h"

namespace {

// The block the craft stands on, -1 when none.
int blockUnder(const Craft& craft, const Level& level, const BlockZWindow& window) {
    const int count = level.blockCount();
    for (int i = window.next(0, craft.z, craft.z); i < count; i = window.next(i + 1, craft.z, craft.z)) {
        const BlockBody& body = level.blocks[size_t(i)].body;
        const BlockCorner at = blockCorner(body);
        if (craft.x <= at.x && craft.x >= at.x - body.width && craft.z >= at.z && craft.z <= at.z + body.length &&
            craft.ypos >= at.y && craft.ypos <= at.y + 300)
            return i;
    }
    return -1;
}

// Whether ground goes on at z in line with the craft: a block under the
// craft's x at z whose top is no step up to crash into, nor far below.
bool groundGoesOn(const Craft& craft, const Level& level, const BlockZWindow& window, int64_t z) {
    const int count = level.blockCount();
    for (int i = window.next(0, z, z); i < count; i = window.next(i + 1, z, z)) {
        const BlockBody& body = level.blocks[size_t(i)].body;
        const BlockCorner at = blockCorner(body);
        if (craft.x <= at.x && craft.x >= at.x - body.width && z >= at.z && z <= at.z + body.length &&
            at.y <= int64_t(craft.ypos) + 100 && at.y >= int64_t(craft.ypos) - 400)
            return true;
    }
    return false;
}

int64_t lowestLandingOf(const Level& level) {
    int64_t lowest = INT64_MAX;
    for (const Block& block : level.blocks) {
        lowest = std::min<int64_t>(lowest, block.body.y);
        if (block.body.pointX != 0 && block.body.has(FLAG_MOVE)) lowest = std::min<int64_t>(lowest, block.body.pointY);
    }
    // The margin: a craft a little below every top may still land on a
    // block it falls beside.
    return lowest == INT64_MAX ? INT64_MIN : lowest - 1500;
}

template <class Run>
void twoPlayerStep(Run& run, const HeldKeys& a, const HeldKeys& b) {
    holdPlayerKeys(run.players[0].craft, 1, a);
    holdPlayerKeys(run.players[1].craft, 2, b);
    run.stepRound();  // one step for each craft
}

}  // namespace

PlanLevel::PlanLevel(const Level& level) : lowestLanding(lowestLandingOf(level)) { window.build(level); }

HeldKeys planStep(const Craft& craft, const Level& level, const PlanLevel& planLevel, const HeldKeys& plan) {
    HeldKeys keys = plan;
    const int under = craft.groundType >= 0 ? blockUnder(craft, level, planLevel.window) : -1;
    if (under < 0) return keys;
    const BlockBody& body = level.blocks[size_t(under)].body;
    const BlockCorner at = blockCorner(body);
    const int64_t end = int64_t(at.z) + body.length;
    // Only where the track does not go on: a jump over the seam of two
    // blocks would fly over whatever the next one is for (a jump pad).
    keys.jump = plan.forward && end < int64_t(craft.z) + 2 * craft.f_speed + 200 &&
                !groundGoesOn(craft, level, planLevel.window, end + 100);
    // A plan that does not steer keeps to the middle of the block (+x is
    // the craft's left), so a push strip or a drift does not end it.
    if (!plan.left && !plan.right) {
        const int64_t middle = int64_t(at.x) - body.width / 2;
        const int64_t heading = int64_t(craft.x) + 4 * int64_t(craft.s_speed);
        const int64_t margin = std::min<int64_t>(150, body.width / 6);
        keys.left = heading < middle - margin;
        keys.right = heading > middle + margin;
    }
    return keys;
}

SingleSim::SingleSim(const Level& level) : plan_(std::make_shared<PlanLevel>(level)) {
    run_.level = level;
    startReplayServices();
    run_.start();
    run_.deaths = DeathCount();
    clock_ = saveReplayClock();
    startLives_ = run_.craft.lives;
}

void SingleSim::step(const HeldKeys& keys) {
    restoreReplayClock(clock_);
    replayStep(run_, keys, before_);
    before_ = keys;
    clock_ = saveReplayClock();
}

HeldKeys SingleSim::planKeys(const HeldKeys& plan) const {
    if (!run_.computer.pong.running()) return planStep(run_.craft, run_.level, *plan_, plan);
    HeldKeys keys;
    const int32_t ballX = run_.computer.pong.ball().x;
    keys.left = ballX > run_.craft.x + 60;  // +x is the craft's left
    keys.right = ballX < run_.craft.x - 60;
    return keys;
}

TimeSim::TimeSim(const Level& level) : plan_(std::make_shared<PlanLevel>(level)) {
    run_.level = level;
    run_.levelPath.clear();
    run_.reset();
    run_.deaths = DeathCount();
}

void TimeSim::step(const HeldKeys& keys) {
    timeAttackStep(run_, keys, before_);
    before_ = keys;
}

RaceSim::RaceSim(const Level& level) : plan_(std::make_shared<PlanLevel>(level)) {
    race_.level = level;
    race_.start(RACE_CHECK_LIVES, CHECK_GRAVITY);
}

void RaceSim::step(const HeldKeys& keys) { twoPlayerStep(race_, keys, keys); }

bool RaceSim::lost() const {
    return race_.deaths[0].total() + race_.deaths[1].total() > 0 ||
           race_.players[0].craft.lives < RACE_CHECK_LIVES || race_.players[1].craft.lives < RACE_CHECK_LIVES ||
           race_.players[0].craft.ypos < plan_->lowestLanding || race_.players[1].craft.ypos < plan_->lowestLanding;
}

double RaceSim::progress() const {
    double behind = 1e9;
    for (const RacePlayer& side : race_.players)
        if (side.points == 0) behind = std::min(behind, double(side.craft.z));
    return behind;
}

bool RaceSim::grounded() const {
    return race_.players[0].craft.groundType >= 0 && race_.players[1].craft.groundType >= 0;
}

HeldKeys RaceSim::planKeys(const HeldKeys& plan) const {
    const int leader = race_.players[0].points == 0 ? 0 : 1;
    return planStep(race_.players[leader].craft, race_.level, *plan_, plan);
}

void RaceMapSim::step(const HeldKeys& keys) {
    if (!time_.done()) time_.step(keys);
    if (!race_.done()) race_.step(keys);
}

double RaceMapSim::progress() const {
    return std::min(time_.done() ? 1e9 : time_.progress(), race_.done() ? 1e9 : race_.progress());
}

bool CastleSim::make(const Level& level, CastleSim& sim) {
    if (sim.castle_.useStoredHalf(level) != 0) return false;
    sim.plan_ = std::make_shared<PlanLevel>(sim.castle_.level);
    sim.castle_.start(CASTLE_CHECK_LIVES, true, CHECK_GRAVITY);
    return true;
}

void CastleSim::step(const HeldKeys& keys) { twoPlayerStep(castle_, keys, HeldKeys()); }

bool CastleSim::lost() const {
    return castle_.deaths[0].total() > 0 || castle_.players[0].castleHealth < CASTLE_CHECK_LIVES ||
           castle_.players[0].craft.ypos < plan_->lowestLanding;
}

bool CastleSim::done() const { return castle_.players[1].castleHealth < CASTLE_CHECK_LIVES; }

namespace {

template <class Sim>
RecordResult record(const Sim& start, const std::vector<HeldKeys>& prefix, const SearchOptions& options) {
    Search<Sim> search(start, options);
    RecordResult result;
    result.reached = search.run(prefix);
    result.keys = search.keys();
    result.deadEnds = search.backtracks();
    return result;
}

}  // namespace

RecordResult recordLevel(const Level& level, LevelMode mode, const std::vector<HeldKeys>& prefix,
                         const SearchOptions& options) {
    switch (mode) {
        case LevelMode::Campaign: return record(SingleSim(level), prefix, options);
        case LevelMode::TimeAttack: return record(TimeSim(level), prefix, options);
        case LevelMode::Race: return record(RaceMapSim(level), prefix, options);
        case LevelMode::Castle: {
            CastleSim castle;
            if (!CastleSim::make(level, castle)) return {};
            return record(castle, prefix, options);
        }
    }
    return {};
}
