#pragma once

// Recorded runs: the keys held in each physics step, kept beside a level as
// NAME.keys. A line is "<steps> <keys>", keys from F (forward), B
// (backward), L (left), R (right) and J (jump), or "-" for none; '#' starts
// a comment. The level tests, the level check and the recorder share this
// form and the replay loop below.

#include <string>
#include <vector>

#include "core/settings.h"
#include "sim/physics.h"

struct HeldKeys {
    bool forward = false, backward = false, left = false, right = false, jump = false;
};
bool sameKeys(const HeldKeys& a, const HeldKeys& b);
HeldKeys forwardOnly();

// Empty when the file cannot be read or a line is malformed.
std::vector<HeldKeys> readRecording(const std::string& path);
std::vector<HeldKeys> parseRecording(const std::string& text);
// The recording as the file holds it: runs of equal keys, one line each,
// after a comment line that explains the form.
std::string recordingText(const std::vector<HeldKeys>& steps);

// Holds the step's keys on the run's craft the way the play state's event
// handler does; a newly pressed key other than jump starts the timer. Any
// one-craft run (time attack, single player) replays the same way.
template <class Run>
void holdKeys(Run& run, const HeldKeys& held, const HeldKeys& before) {
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

// The keys of one player's group (A: group 1, B: group 2) on a two-player
// craft, as the play state's handler marks them.
void holdPlayerKeys(Craft& craft, int keyGroup, const HeldKeys& keys);

struct ReplayResult {
    bool finished = false;
    int steps = 0;   // physics steps until the goal
    int deaths = 0;  // steps that ended in the run's death or reset
};

// Steps a run through a recording with step(run, held, before), which
// presses the keys and takes one physics step. Stops at the goal. Deaths are
// only the steps that ended early in a death: a single-player crash goes on
// with its step and a lost pong ball is no death at all, so a proof that
// must lose nothing counts with the runs of death_count.h instead.
template <typename Run, typename Step>
ReplayResult replaySteps(Run& run, const std::vector<HeldKeys>& steps, Step step) {
    ReplayResult result;
    HeldKeys before;
    for (size_t i = 0; i < steps.size(); ++i) {
        const StepOutcome outcome = step(run, steps[i], before);
        before = steps[i];
        result.steps = int(i) + 1;
        if (outcome == StepOutcome::Died) result.deaths += 1;
        if (run.goalReached) {
            result.finished = true;
            break;
        }
    }
    return result;
}
