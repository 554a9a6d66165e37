#pragma once

// Recorded runs through the single-player rules: the same .keys form and
// HeldKeys as the time-attack recordings. A replay runs on a fixed clock
// (1000 ms, then 21 ms per physics step) and a fixed random seed, so the
// computer crafts and pong games of a level do the same on every replay; the
// recorder (tools/record) drives levels on the same terms.

#include <cstdlib>

#include "core/services.h"
#include "modes/single/single_run.h"
#include "unit/timeattack_recording.h"

namespace single_replay {
inline uint32_t& clockMs() {
    static uint32_t ms = 1000;
    return ms;
}
inline uint32_t fixedClock() { return clockMs(); }
inline int& stepParity() {
    static int parity = 0;
    return parity;
}
}  // namespace single_replay

// The replay clock and seed; call before loading the level.
inline void startReplayServices() {
    single_replay::clockMs() = 1000;
    single_replay::stepParity() = 0;
    setTickSource(single_replay::fixedClock);
    std::srand(7);
}

// One recorded step: keys, 21 or 22 ms on the run clock and the replay
// clock, the physics step.
inline StepOutcome replayStep(SingleRun& run, const HeldKeys& held, const HeldKeys& before) {
    holdKeys(run, held, before);
    const int ms = 21 + single_replay::stepParity();
    single_replay::stepParity() ^= 1;
    run.addFrameTime(ms);
    single_replay::clockMs() += uint32_t(ms);
    return run.step();
}

// Steps the run through the recording; stops at the goal. Deaths are the
// steps that ended in the death routine.
inline ReplayResult replayRecording(SingleRun& run, const std::vector<HeldKeys>& steps) {
    return replaySteps(run, steps, replayStep);
}
