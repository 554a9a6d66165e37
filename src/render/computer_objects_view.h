#pragma once

#include "level/level.h"
#include "render/objects.h"
#include "sim/computer_craft.h"

// What drawComputerObjects needs, taken from the simulation's computer
// objects. `ballStorage` receives the pong ball's view and must outlive the
// returned view. Choices of the look:
//   - the active bonus star turns 4 degrees per step (ComputerCrafts::bonusAngle),
//     gold (1, 0.8, 0) while it can be caught, the idle star's dark red
//     (0.6, 0, 0) and blended while its catch cooldown runs;
//   - the pusher's green probe lines reach as far ahead as a jump would take
//     it (the route's forwardReach, 0..30000).
ComputerObjectsView computerObjectsView(const Level& level, ComputerCrafts& computer, PongBallView& ballStorage);

// The pong ball as the drawing code takes it.
PongBallView pongBallView(const PongBall& ball);
