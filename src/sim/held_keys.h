#pragma once

#include "level/proof_file.h"
#include "sim/physics.h"

// A recorded step's keys on a craft: the keys of one group (1 or 2) held or
// let go, as the play states' event handlers mark them.
inline void holdPlayerKeys(Craft& craft, int keyGroup, const HeldKeys& keys) {
    const ControlKeys codes = controlKeys(keyGroup);
    setKeyHeld(craft, codes.forward, keys.forward);
    setKeyHeld(craft, codes.backward, keys.backward);
    setKeyHeld(craft, codes.left, keys.left);
    setKeyHeld(craft, codes.right, keys.right);
    setKeyHeld(craft, codes.jump, keys.jump);
}

// One step's keys on a one-craft run (time attack, single player), steered
// with the second group: a newly pressed key other than jump starts the
// run's timer. The editor's test-drive drives through this too, so its keys
// are a proof that the level check replays step for step.
template <class Run>
void holdKeys(Run& run, const HeldKeys& held, const HeldKeys& before) {
    holdPlayerKeys(run.craft, 2, held);
    const bool pressed = (held.forward && !before.forward) || (held.backward && !before.backward) ||
                         (held.left && !before.left) || (held.right && !before.right);
    if (pressed) run.startTimer();
}
