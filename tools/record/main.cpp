// tavrelo-record: finds a run through a single-player level and prints it as
// a .keys recording (held keys per physics step).
//   tavrelo-record LEVEL.txt > LEVEL.keys
//
// A scripted controller: every few steps it tries each key combination for
// those steps followed by a short plan, plays each plan out on a copy of the
// run, and keeps the combination whose plan gets furthest without losing a
// life. The result is replayed from the start before it is printed, on the
// replay clock and seed the level tests use.

#include <cstdio>
#include <string>
#include <vector>

#include "core/byte_io.h"
#include "core/settings.h"
#include "level/level_text.h"
#include "replay/replay_clock.h"

namespace {

constexpr int DECISION_STEPS = 3;
constexpr int PLAN_STEPS = 120;
constexpr int MAX_STEPS = 6000;

std::vector<HeldKeys> choices() {
    std::vector<HeldKeys> all;
    for (int steer = 0; steer < 3; ++steer) {
        for (int jump = 0; jump < 2; ++jump) {
            for (int speed = 0; speed < 3; ++speed) {
                HeldKeys keys;
                keys.left = steer == 1;
                keys.right = steer == 2;
                keys.jump = jump == 1;
                keys.forward = speed == 0;
                keys.backward = speed == 2;
                all.push_back(keys);
            }
        }
    }
    return all;
}

struct Trial {
    double score = -1e18;
};

// The plan's keys for one step: during a pong game the craft follows the
// ball sideways (+x is the craft's left); otherwise the plan as given.
// The block the craft stands on, -1 when none.
int blockUnder(const SingleRun& run) {
    const Craft& craft = run.craft;
    for (int i = 0; i < run.level.blockCount(); ++i) {
        const BlockCorner at = blockCorner(run.level.blocks[size_t(i)].body);
        const BlockBody& body = run.level.blocks[size_t(i)].body;
        if (craft.x <= at.x && craft.x >= at.x - body.width && craft.z >= at.z && craft.z <= at.z + body.length &&
            craft.ypos >= at.y && craft.ypos <= at.y + 300)
            return i;
    }
    return -1;
}

HeldKeys planFor(const SingleRun& run, const HeldKeys& plan) {
    if (!run.computer.pong.running()) {
        // Jump at the end of the block under the craft.
        HeldKeys keys = plan;
        const int under = run.craft.groundType >= 0 ? blockUnder(run) : -1;
        if (under >= 0) {
            const BlockCorner at = blockCorner(run.level.blocks[size_t(under)].body);
            const int64_t end = int64_t(at.z) + run.level.blocks[size_t(under)].body.length;
            keys.jump = plan.forward && end < int64_t(run.craft.z) + 2 * run.craft.f_speed + 200;
        }
        return keys;
    }
    HeldKeys keys;
    const int32_t ballX = run.computer.pong.ball().x;
    keys.left = ballX > run.craft.x + 60;
    keys.right = ballX < run.craft.x - 60;
    return keys;
}

// Plays `first` for DECISION_STEPS, `second` for DECISION_STEPS, then holds
// the plan's keys; scores progress, with lost lives and restarts far below
// any progress and the goal above it.
using ClockState = ReplayClockState;
ClockState saveClock() { return saveReplayClock(); }
void restoreClock(const ClockState& state) { restoreReplayClock(state); }

double playOut(SingleRun run, HeldKeys before, const HeldKeys& first, const HeldKeys& second,
               const HeldKeys& plan, const ClockState& clock) {
    restoreClock(clock);
    const int startLives = run.craft.lives;
    const int startCheckpoint = run.craft.checkpoint;
    double best = run.craft.z;
    for (int i = 0; i < 2 * DECISION_STEPS + PLAN_STEPS; ++i) {
        const HeldKeys keys = i < DECISION_STEPS ? first : (i < 2 * DECISION_STEPS ? second : planFor(run, plan));
        StepOutcome outcome = replayStep(run, keys, before);
        before = keys;
        if (run.goalReached) return 1e12 - i;
        const bool lost = outcome == StepOutcome::Died || run.craft.lives < startLives ||
                          run.craft.checkpoint < startCheckpoint;
        if (lost) {
            // Lost in the two chosen moves: never. Lost later, while the
            // plan drives blindly: a setback, but progress still counts.
            if (i < 2 * DECISION_STEPS) return -1e9 + best;
            return best - 20000;
        }
        if (run.craft.z > best) best = run.craft.z;
    }
    // Standing on the track beats hanging in the air over it; a caught
    // bonus craft is worth a long way.
    return best + (run.craft.groundType >= 0 ? 500 : 0) + (run.craft.lives - startLives) * 100000.0;
}

void printRecording(const std::vector<HeldKeys>& steps) { std::fputs(recordingText(steps).c_str(), stdout); }

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: tavrelo-record LEVEL.txt > LEVEL.keys\n", stderr);
        return 2;
    }
    std::string text;
    SingleRun run;
    LevelTextError error;
    if (!readWholeFile(argv[1], text) || parseLevelText(text, run.level, &error) != 0) {
        std::fprintf(stderr, "%s:%d: %s\n", argv[1], error.line, error.message.c_str());
        return 1;
    }
    settings = defaultSettings();
    settings.sounds = 0;
    startReplayServices();
    run.start();
    const std::vector<HeldKeys> options = choices();
    std::vector<HeldKeys> steps;
    HeldKeys before;
    while (!run.goalReached && int(steps.size()) < MAX_STEPS) {
        double bestScore = -1e18;
        HeldKeys bestKeys;
        const ClockState clock = saveClock();
        for (const HeldKeys& first : options)
            for (const HeldKeys& second : options) {
                HeldKeys plan = second;
                plan.jump = false;
                double score = playOut(run, before, first, second, plan, clock);
                if (score > bestScore) {
                    bestScore = score;
                    bestKeys = first;
                }
            }
        restoreClock(clock);
        for (int i = 0; i < DECISION_STEPS && !run.goalReached; ++i) {
            replayStep(run, bestKeys, before);
            before = bestKeys;
            steps.push_back(bestKeys);
        }
        if (steps.size() % 300 < DECISION_STEPS)
            std::fprintf(stderr, "step %zu: z %d lives %d\n", steps.size(), run.craft.z, run.craft.lives);
    }
    // Proof: the recording from a fresh start, as the tests replay it.
    SingleRun fresh;
    parseLevelText(text, fresh.level, nullptr);
    startReplayServices();
    fresh.start();
    // Where the found run loses the craft, for whoever tunes the level.
    {
        SingleRun probe = fresh;
        HeldKeys last;
        for (size_t i = 0; i < steps.size() && !probe.goalReached; ++i) {
            const int z = probe.craft.z;
            if (replayStep(probe, steps[i], last) == StepOutcome::Died)
                std::fprintf(stderr, "death at step %zu, z %d\n", i, z);
            last = steps[i];
        }
        startReplayServices();
    }
    ReplayResult result = replayRecording(fresh, steps);
    std::fprintf(stderr, "%s: %s in %d steps, %d deaths, %d spare lives\n", argv[1],
                 result.finished ? "finished" : "NOT finished", result.steps, result.deaths, fresh.spareLives());
    // An unfinished run is printed too, to see where the controller stuck.
    printRecording(steps);
    return result.finished ? 0 : 1;
}
