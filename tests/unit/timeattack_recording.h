#pragma once

// The recordings (.keys), holdKeys and the replay loop live in the replay
// library the level tools share; the tests include them from here.
#include "replay/recording.h"
#include "replay/replay_clock.h"
