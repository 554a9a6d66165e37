#pragma once

#include "level/level.h"

// A block for drawing tests and benchmarks: the type's default side and top
// textures, each drawn once across a face.
Block makeBlock(int x, int y, int z, int width, int height, int length, int type = BLOCK_PLAIN);
