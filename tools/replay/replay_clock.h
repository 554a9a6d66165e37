#pragma once

// Replays through the single-player rules run on a fixed clock (1000 ms,
// then 21 and 22 ms in turn per physics step) and a fixed random seed, so
// the computer crafts and pong games of a level do the same on every
// replay; the recorder, the level check and the level tests all drive
// levels on these terms. The two-player modes and time attack use the same
// seed and a clock that stands still.

#include "modes/single/single_run.h"
#include "modes/timeattack/time_attack_run.h"
#include "replay/recording.h"

// The replay clock and seed; call before starting the run.
void startReplayServices();

// What the recorder needs to play a copy of a run ahead and come back.
struct ReplayClockState {
    uint32_t ms;
    int parity;
};
ReplayClockState saveReplayClock();
void restoreReplayClock(const ReplayClockState& state);

// One recorded step: keys, 21 or 22 ms on the replay clock, the physics
// step (which adds its own 21 ms to the run clock).
StepOutcome replayStep(SingleRun& run, const HeldKeys& held, const HeldKeys& before);

// Steps the run through the recording; stops at the goal.
ReplayResult replayRecording(SingleRun& run, const std::vector<HeldKeys>& steps);

// A time-attack run through a recording: keys and a step each, no clock.
StepOutcome timeAttackStep(TimeAttackRun& run, const HeldKeys& held, const HeldKeys& before);
ReplayResult replayRecording(TimeAttackRun& run, const std::vector<HeldKeys>& steps);
