#pragma once

// Replays of recorded key sequences through the single-player rules: the
// same HeldKeys and .keys form as the time-attack recordings.

#include "modes/single/single_run.h"
#include "timeattack_recording.h"

inline void holdKeys(SingleRun& run, const HeldKeys& held, const HeldKeys& before) {
    const ControlKeys keys = controlKeys(2);
    setKeyHeld(run.craft, keys.forward, held.forward);
    setKeyHeld(run.craft, keys.backward, held.backward);
    setKeyHeld(run.craft, keys.left, held.left);
    setKeyHeld(run.craft, keys.right, held.right);
    setKeyHeld(run.craft, keys.jump, held.jump);
    const bool pressed = (held.forward && !before.forward) || (held.backward && !before.backward) ||
                         (held.left && !before.left) || (held.right && !before.right);
    if (pressed) run.startTimer();
}

// Steps the run with one recorded step per physics step (21 ms each on the
// clock); stops at the goal. Deaths are the steps that ended in the death
// routine; lives lost show in the craft's lives.
inline ReplayResult replayRecording(SingleRun& run, const std::vector<HeldKeys>& steps) {
    ReplayResult result;
    HeldKeys before;
    for (size_t i = 0; i < steps.size(); ++i) {
        holdKeys(run, steps[i], before);
        before = steps[i];
        run.addFrameTime(21);
        StepOutcome outcome = run.step();
        result.steps = int(i) + 1;
        if (outcome == StepOutcome::Died) result.deaths += 1;
        if (run.goalReached) {
            result.finished = true;
            break;
        }
    }
    return result;
}
