#include "replay/level_check.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "core/services.h"
#include "core/settings.h"
#include "modes/timeattack/records.h"
#include "replay/level_source.h"
#include "replay/replay_clock.h"
#include "sim/view_angle.h"

namespace {

// The check runs on the default settings without sound, and leaves the
// caller's as they were.
class CheckServices {
public:
    CheckServices() : saved_(settings) {
        settings = defaultSettings();
        settings.sounds = 0;
        setProjectionSetter(nullptr);
    }
    ~CheckServices() {
        setTickSource(nullptr);
        settings = saved_;
    }

private:
    Settings saved_;
};

int64_t trackLength(const Level& level) {
    int64_t nearest = INT64_MAX, farthest = INT64_MIN;
    for (const Block& block : level.blocks) {
        nearest = std::min<int64_t>(nearest, block.body.z);
        farthest = std::max<int64_t>(farthest, int64_t(block.body.z) + block.body.length);
    }
    return level.blocks.empty() ? 0 : farthest - nearest;
}

// The naive player: forward held and nothing else, step by step through the
// mode's own step, until a life is lost, the goal is reached or time is up.
template <class Run, class Step>
NaiveRun driveForwardOnly(Run& run, Step step) {
    NaiveRun naive;
    HeldKeys before;
    for (int i = 1; i <= NAIVE_STEP_LIMIT; ++i) {
        step(run, forwardOnly(), before);
        before = forwardOnly();
        naive.step = i;
        if (run.deaths.total() > 0) {
            naive.result = NaiveRun::LostLife;
            return naive;
        }
        if (run.goalReached) {
            naive.result = NaiveRun::FinishedClean;
            return naive;
        }
    }
    return naive;
}

bool standing(const Craft& craft) {
    return std::abs(craft.f_speed) <= STANDING_SPEED && craft.holdTimer != HOLD_BY_PONG;
}

// The mode's step, counting the steps that end with the craft standing.
template <class Run, class Step>
auto countingStanding(int& steps, Step step) {
    return [&steps, step](Run& run, const HeldKeys& held, const HeldKeys& before) {
        const StepOutcome outcome = step(run, held, before);
        if (standing(run.craft)) ++steps;
        return outcome;
    };
}

// ---- Campaign levels: the single-player run ----------------------------

void startCampaign(CountedSingleRun& run, const Level& level) {
    run.level = level;
    startReplayServices();
    run.start();
    run.deaths = DeathCount();
    run.pongGames = 0;
}

ProofRun campaignProof(const Level& level, const std::vector<HeldKeys>& keys) {
    ProofRun proof;
    proof.present = true;
    CountedSingleRun run;
    startCampaign(run, level);
    proof.livesStart = run.craft.lives;
    const ReplayResult result =
        replaySteps(run, keys, countingStanding<CountedSingleRun>(proof.standingSteps, replayStep));
    proof.finished = result.finished;
    proof.steps = result.steps;
    proof.deaths = run.deaths;
    proof.livesEnd = run.craft.lives;
    proof.pongGames = run.pongGames;
    return proof;
}

NaiveRun campaignNaive(const Level& level) {
    CountedSingleRun run;
    startCampaign(run, level);
    return driveForwardOnly(run, replayStep);
}

// ---- Time-attack and race maps: the time-attack run ----------------------

void startTimeAttack(CountedTimeAttackRun& run, const Level& level) {
    run.level = level;
    run.levelPath.clear();  // no ghost
    startReplayServices();
    run.reset();
    run.deaths = DeathCount();
}

ProofRun timeAttackProof(const Level& level, const std::vector<HeldKeys>& keys) {
    ProofRun proof;
    proof.present = true;
    CountedTimeAttackRun run;
    startTimeAttack(run, level);
    const ReplayResult result =
        replaySteps(run, keys, countingStanding<CountedTimeAttackRun>(proof.standingSteps, timeAttackStep));
    proof.finished = result.finished;
    proof.steps = result.steps;
    proof.deaths = run.deaths;
    return proof;
}

NaiveRun timeAttackNaive(const Level& level) {
    CountedTimeAttackRun run;
    startTimeAttack(run, level);
    return driveForwardOnly(run, timeAttackStep);
}

// ---- Race maps -------------------------------------------------------------

void startRace(CountedRaceRun& race, const Level& level) {
    race.level = level;
    startReplayServices();
    race.start(RACE_CHECK_LIVES, CHECK_GRAVITY);
}

// One step for each craft with lives, then the contact.
template <class Run>
void twoPlayerStep(Run& run, const HeldKeys& a, const HeldKeys& b) {
    holdPlayerKeys(run.players[0].craft, 1, a);
    holdPlayerKeys(run.players[1].craft, 2, b);
    run.stepRound();
}

RaceCheck raceCheck(const Level& level, const std::vector<HeldKeys>& keys) {
    RaceCheck check;
    {
        CountedRaceRun race;
        startRace(race, level);
        for (const HeldKeys& held : keys) {
            twoPlayerStep(race, held, held);
            if (race.players[0].points > 0 && race.players[1].points > 0) break;
        }
        check.proofScoresForBoth = race.players[0].points == 1 && race.players[1].points == 1 &&
                                   race.players[0].craft.lives == RACE_CHECK_LIVES &&
                                   race.players[1].craft.lives == RACE_CHECK_LIVES;
    }
    for (int player = 0; player < 2; ++player) {
        CountedRaceRun race;
        startRace(race, level);
        for (int i = 1; i <= RACE_CHECK_STEP_LIMIT; ++i) {
            twoPlayerStep(race, player == 0 ? forwardOnly() : HeldKeys(), player == 1 ? forwardOnly() : HeldKeys());
            const RacePlayer& side = race.players[player];
            if (side.craft.lives < RACE_CHECK_LIVES) {
                check.lifeLostStep[player] = i;
                check.lifeLostLap[player] = side.points + 1;
                break;
            }
            check.laps[player] = side.points;
            if (side.points >= RACE_CHECK_LAPS) break;
        }
    }
    return check;
}

// ---- Castle maps -------------------------------------------------------------

bool startCastle(CountedCastleRun& castle, const Level& level) {
    if (castle.useStoredHalf(level) != 0) return false;
    startReplayServices();
    castle.start(CASTLE_CHECK_LIVES, true, CHECK_GRAVITY);
    return true;
}

// The proof is one attack by A, repeated after every hit until the duel is won.
void castleProof(const Level& level, const std::vector<HeldKeys>& keys, LevelReport& report) {
    CountedCastleRun castle;
    if (!startCastle(castle, level)) return;
    CastleCheck& check = report.castle;
    for (int round = 0; round < CASTLE_CHECK_LIVES && !castle.over(); ++round) {
        const int before = castle.players[1].castleHealth;
        int steps = 0, standingSteps = 0;
        for (const HeldKeys& held : keys) {
            twoPlayerStep(castle, held, HeldKeys());
            ++steps;
            if (standing(castle.players[0].craft)) ++standingSteps;
            if (castle.players[1].castleHealth < before) break;
        }
        if (castle.players[1].castleHealth >= before) {
            check.missedAttack = round + 1;
            break;
        }
        if (round == 0) {
            report.proof.finished = true;
            report.proof.steps = steps;
            report.proof.standingSteps = standingSteps;
        }
        ++check.hits;
    }
    check.won = castle.over() && castle.winner() == PLAYER_A;
    check.deaths = castle.deaths[0];
    check.castleLost = CASTLE_CHECK_LIVES - castle.players[0].castleHealth;
    report.proof.deaths = castle.deaths[0];
}

void castleSingleKeys(const Level& level, CastleCheck& check) {
    const char names[] = {'F', 'B', 'L', 'R', 'J'};
    for (int player = 0; player < 2; ++player) {
        for (char name : names) {
            HeldKeys held;
            held.forward = name == 'F';
            held.backward = name == 'B';
            held.left = name == 'L';
            held.right = name == 'R';
            held.jump = name == 'J';
            CountedCastleRun castle;
            if (!startCastle(castle, level)) return;
            const int opponent = 1 - player;
            for (int i = 1; i <= CASTLE_KEY_STEPS; ++i) {
                twoPlayerStep(castle, player == 0 ? held : HeldKeys(), player == 1 ? held : HeldKeys());
                if (castle.players[opponent].castleHealth < CASTLE_CHECK_LIVES) {
                    check.singleKeyScores.push_back({player, name, i});
                    break;
                }
            }
        }
    }
}

std::string countText(int count, const char* what) {
    return std::to_string(count) + " " + what;
}

}  // namespace

LevelMode levelModeOf(const std::string& name) {
    if (name.rfind("s-", 0) == 0) return LevelMode::Campaign;
    if (name.rfind("ra-", 0) == 0) return LevelMode::Race;
    if (name.rfind("ca-", 0) == 0) return LevelMode::Castle;
    return LevelMode::TimeAttack;
}

std::string describeDeaths(const DeathCount& deaths) {
    std::vector<std::string> parts;
    if (deaths.falls) parts.push_back(countText(deaths.falls, deaths.falls == 1 ? "fall" : "falls"));
    if (deaths.crashes) parts.push_back(countText(deaths.crashes, deaths.crashes == 1 ? "crash" : "crashes"));
    if (deaths.health) parts.push_back(countText(deaths.health, deaths.health == 1 ? "health death" : "health deaths"));
    if (deaths.pongLosses)
        parts.push_back(countText(deaths.pongLosses, deaths.pongLosses == 1 ? "lost pong ball" : "lost pong balls"));
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : ", ") + part;
    return text.empty() ? "no deaths" : text;
}

std::vector<std::string> LevelReport::proofFaults() const {
    std::vector<std::string> faults;
    if (!error.empty()) return {error};
    if (!proof.present) return {"no readable proof " + name + ".keys beside the level"};
    if (mode == LevelMode::Castle) {
        const std::string missed =
            castle.missedAttack ? ": attack " + std::to_string(castle.missedAttack) + " misses" : "";
        if (!castle.proofWins())
            faults.push_back("castle proof lands " + std::to_string(castle.hits) + " of " +
                             std::to_string(CASTLE_CHECK_LIVES) + " attacks" + missed + " (" +
                             describeDeaths(castle.deaths) + ", own castle lost " +
                             std::to_string(castle.castleLost) + ")");
        return faults;
    }
    if (!proof.finished) faults.push_back("proof does not finish in its " + std::to_string(proof.steps) + " steps");
    if (proof.deaths.total() > 0) faults.push_back("proof dies: " + describeDeaths(proof.deaths));
    if (proof.livesEnd < proof.livesStart)
        faults.push_back("proof ends with " + std::to_string(proof.livesEnd) + " lives of " +
                         std::to_string(proof.livesStart));
    if (mode == LevelMode::Race && !race.proofScoresForBoth)
        faults.push_back("race proof: both crafts side by side do not each score a lap without losing a life");
    return faults;
}

int LevelReport::naiveMedal() const {
    const bool map = mode == LevelMode::TimeAttack || mode == LevelMode::Race;
    if (!map || naive.result != NaiveRun::FinishedClean) return MEDAL_NONE;
    return medalFor(naive.step * CHECK_STEP_MS, goldMs, silverMs, bronzeMs);
}

std::string campaignOf(const LevelReport& report) {
    const size_t slash = report.label.rfind('/');
    return slash == std::string::npos ? "" : report.label.substr(0, slash);
}

std::vector<Cliff> campaignCliffs(const std::vector<LevelReport>& reports) {
    std::vector<Cliff> cliffs;
    const LevelReport* before = nullptr;
    int campaign = -1;
    for (const LevelReport& report : reports) {
        if (report.mode != LevelMode::Campaign) continue;
        const bool follows = before != nullptr && campaignOf(*before) == campaignOf(report);
        if (!follows) ++campaign;
        if (follows && before->naive.result == NaiveRun::FinishedClean && report.naive.result == NaiveRun::LostLife &&
            report.naive.step * CHECK_STEP_MS <= CLIFF_MS)
            cliffs.push_back({before->label, report.label, report.naive.step, campaign});
        before = &report;
    }
    return cliffs;
}

std::string cliffLine(const Cliff& cliff) {
    return "CLIFF " + cliff.hard + ": forward alone finishes " + cliff.easy + ", then loses a life here after " +
           secondsText(cliff.step * CHECK_STEP_MS) + " s";
}

std::string secondsText(int ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", ms / 1000.0);
    return text;
}

std::vector<std::string> LevelReport::designFaults() const {
    std::vector<std::string> faults;
    if (!error.empty() || !proof.finished) return faults;
    if (int64_t(proof.standingSteps) * STANDING_ONE_IN > proof.steps)
        faults.push_back(std::to_string(standingPercent()) + " % of the proof standing or waiting, above one step in " +
                         std::to_string(STANDING_ONE_IN));
    if (mode != LevelMode::TimeAttack && mode != LevelMode::Race) return faults;
    const char* const names[] = {"gold", "silver", "bronze"};
    const int times[] = {goldMs, silverMs, bronzeMs};
    for (int medal = MEDAL_GOLD; medal <= MEDAL_BRONZE; ++medal)
        if (int64_t(times[medal]) * 100 > int64_t(proofTimeMs()) * (100 + MEDAL_ABOVE_PERCENT[medal]))
            faults.push_back(std::string(names[medal]) + " " + secondsText(times[medal]) + " s is more than " +
                             std::to_string(MEDAL_ABOVE_PERCENT[medal]) + " % above the proof's " +
                             secondsText(proofTimeMs()) + " s");
    const int naive = naiveMedal();
    if (naive != MEDAL_NONE && naive < MEDAL_BRONZE)
        faults.push_back(std::string("holding forward alone wins ") + names[naive] + " in " +
                         secondsText(this->naive.step * CHECK_STEP_MS) + " s, above bronze");
    return faults;
}

LevelReport checkLevel(const std::string& path, const std::string& label) {
    return checkLevelWithProof(path, label, readRecording(proofPathFor(path)));
}

LevelReport checkLevelWithProof(const std::string& path, const std::string& label,
                                const std::vector<HeldKeys>& keys) {
    CheckServices services;
    LevelReport report;
    report.path = path;
    report.label = label;
    report.name = levelNameOf(path);
    report.mode = levelModeOf(report.name);
    Level level;
    if (!loadLevelSource(path, level, report.error)) return report;
    report.blocks = level.blockCount();
    report.length = trackLength(level);
    report.goldMs = level.goldTime;
    report.silverMs = level.silverTime;
    report.bronzeMs = level.bronzeTime;
    for (const Block& block : level.blocks)
        if (block.body.pointX != 0 && block.body.has(FLAG_PONG)) ++report.pongCourts;
    report.proof.present = !keys.empty();
    switch (report.mode) {
        case LevelMode::Campaign:
            if (report.proof.present) report.proof = campaignProof(level, keys);
            report.naive = campaignNaive(level);
            break;
        case LevelMode::TimeAttack:
        case LevelMode::Race:
            if (report.proof.present) report.proof = timeAttackProof(level, keys);
            report.naive = timeAttackNaive(level);
            if (report.mode == LevelMode::Race) report.race = raceCheck(level, keys);
            break;
        case LevelMode::Castle:
            if (CountedCastleRun probe; probe.useStoredHalf(level) != 0) {
                report.error = "no castle goal blocks: not a castle map";
                break;
            }
            if (report.proof.present) castleProof(level, keys, report);
            castleSingleKeys(level, report.castle);
            if (report.error.empty()) {
                // The naive attacker: A holding forward alone.
                report.naive.result = NaiveRun::DidNotFinish;
                report.naive.step = CASTLE_KEY_STEPS;
                for (const HeldKeyScore& score : report.castle.singleKeyScores)
                    if (score.player == 0 && score.key == 'F') {
                        report.naive.result = NaiveRun::FinishedClean;
                        report.naive.step = score.step;
                    }
            }
            break;
    }
    return report;
}
