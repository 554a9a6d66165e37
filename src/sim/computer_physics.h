#pragma once

#include "level/level.h"
#include "sim/craft.h"
#include "sim/physics.h"

// The computer crafts run the players' physics step with these differences:
// no air control; fixed steering of 95 on the ground (within +-180); on ICE
// no grip from the forward speed; standing on a block stops the fall at once
// and records the block's index in camX; a crash, a fall, the goal or (pusher
// only) an empty health end the craft; HURT costs only the pusher health;
// CRAZY turns no view; only the pusher makes jump sounds; a jump releases
// the jump key; no start detection (phase holds the skill) and no camera.

// Rules for a computer craft of `kind` (CRAFT_KIND_PUSHER or CRAFT_KIND_BONUS).
PlayRules computerCraftRules(PlayHooks& hooks, int kind);

// One physics step of a computer craft; false when the craft is gone (it
// fell, crashed, reached the goal or, the pusher, lost its health).
bool computerPhysicsStep(Craft& craft, Level& level);
