#pragma once

// Recorded runs (the .keys form and its reader live in level/proof_file.h)
// and the replay loop the level tests, the level check and the recorder
// share.

#include <string>
#include <vector>

#include "core/settings.h"
#include "level/proof_file.h"
#include "sim/held_keys.h"
#include "sim/physics.h"

HeldKeys forwardOnly();

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
