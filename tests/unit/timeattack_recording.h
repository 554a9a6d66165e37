#pragma once

// Recorded runs of the shipped time-attack levels: the keys held in each
// physics step, kept beside the level as NAME.keys. A line is
// "<steps> <keys>", keys from F (forward), B (backward), L (left), R (right)
// and J (jump), or "-" for none; '#' starts a comment.

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/settings.h"
#include "modes/timeattack/time_attack_run.h"
#include "sim/physics.h"

struct HeldKeys {
    bool forward = false, backward = false, left = false, right = false, jump = false;
};

// Empty when the file cannot be read or a line is malformed.
inline std::vector<HeldKeys> readRecording(const std::string& path) {
    std::vector<HeldKeys> steps;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        int count = 0;
        std::string keys;
        if (!(words >> count)) continue;
        if (!(words >> keys) || count <= 0) return {};
        HeldKeys held;
        for (char key : keys) {
            switch (key) {
                case 'F': held.forward = true; break;
                case 'B': held.backward = true; break;
                case 'L': held.left = true; break;
                case 'R': held.right = true; break;
                case 'J': held.jump = true; break;
                case '-': break;
                default: return {};
            }
        }
        steps.insert(steps.end(), size_t(count), held);
    }
    return steps;
}

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

struct ReplayResult {
    bool finished = false;
    int steps = 0;   // physics steps until the goal
    int deaths = 0;  // runs restarted on the way
};

// Steps a run through a recording with step(run, held, before), which
// presses the keys and takes one physics step. Stops at the goal; deaths are
// the steps that ended in the run's death or reset.
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

inline ReplayResult replayRecording(TimeAttackRun& run, const std::vector<HeldKeys>& steps) {
    return replaySteps(run, steps, [](TimeAttackRun& each, const HeldKeys& held, const HeldKeys& before) {
        holdKeys(each, held, before);
        return each.step();
    });
}
