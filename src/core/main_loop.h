#pragma once

// The program: creates the states, starts up, runs the main loop, shuts down.
// Returns 0 after a normal shutdown, -1 when start-up fails.
int runGame();
