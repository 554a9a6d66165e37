#pragma once

#include "level/level.h"

// A block for drawing tests and benchmarks: the type's default side and top
// textures, each drawn once across a face.
Block makeBlock(int x, int y, int z, int width, int height, int length, int type = BLOCK_PLAIN);

// The reference scene of the frame benchmark and the depth tests: three
// lanes of blocks 1500 long with 300-unit gaps over 200000 units, steps,
// raised slabs over the middle lane and every block type, textures repeated
// every 600 units; about 300 blocks lie within the draw distance of the
// start. Sorted by z as the level writer sorts.
Level referenceTrack();
