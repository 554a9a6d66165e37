#include "replay/replay_clock.h"

#include <cstdlib>

#include "core/services.h"

namespace {
uint32_t clockMs = 1000;
int stepParity = 0;
uint32_t fixedClock() { return clockMs; }
}  // namespace

void startReplayServices() {
    clockMs = 1000;
    stepParity = 0;
    setTickSource(fixedClock);
    std::srand(7);
}

ReplayClockState saveReplayClock() { return {clockMs, stepParity}; }

void restoreReplayClock(const ReplayClockState& state) {
    clockMs = state.ms;
    stepParity = state.parity;
}

StepOutcome replayStep(SingleRun& run, const HeldKeys& held, const HeldKeys& before) {
    holdKeys(run, held, before);
    // The tick clock the pong serve and the bonus craft read runs as a
    // frame-per-step game would see it; the run clock counts the steps.
    const int ms = 21 + stepParity;
    stepParity ^= 1;
    clockMs += uint32_t(ms);
    return run.step();
}

ReplayResult replayRecording(SingleRun& run, const std::vector<HeldKeys>& steps) {
    return replaySteps(run, steps, replayStep);
}

StepOutcome timeAttackStep(TimeAttackRun& run, const HeldKeys& held, const HeldKeys& before) {
    holdKeys(run, held, before);
    return run.step();
}

ReplayResult replayRecording(TimeAttackRun& run, const std::vector<HeldKeys>& steps) {
    return replaySteps(run, steps, timeAttackStep);
}
