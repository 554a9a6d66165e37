#pragma once

// Recorded runs through the single-player rules on the replay clock and
// seed (replay/replay_clock.h), shared with the level check and the recorder.
#include "core/services.h"
#include "replay/replay_clock.h"
