#pragma once

#include <string>

#include "level/level.h"

// Builds a level from the level tool's text; a text that does not parse
// fails the calling test and yields an empty level.
Level levelFromText(const std::string& text);

// A straight run of `count` plain 600 x 500 x 1000 blocks end to end, a few
// of them sliding sideways (every `movingEvery`-th, 0: none). The benchmark's
// long level and the scan-equivalence tests use it.
Level longTrackLevel(int count, int movingEvery);
