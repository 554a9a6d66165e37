#pragma once

#include <cstdint>

// The editor's grid rules. Blocks sit on a 300-unit grid, new blocks stretch
// in 600-unit steps and heights move in 250-unit steps.
constexpr int PLACE_GRID = 300;
constexpr int STRETCH_GRID = 600;
constexpr int HEIGHT_GRID = 250;
// A stretched side shorter than one step: 605, a hair wider than a step, so
// such blocks can be told from grid-sized ones in stored levels.
constexpr int32_t SHORT_STRETCH_SIZE = 605;

// v minus the remainder of v / step, the remainder taking the sign of v:
// negative values snap toward zero, as positive ones do (-450 / 300 gives -300).
int32_t snapTowardZero(int32_t value, int32_t step);

// The width or length of a block just created, from the cursor's offset
// from the block's origin: snapped to 600, below 600 it becomes 605.
int32_t stretchedSize(int32_t offset);
