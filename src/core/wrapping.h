#pragma once

#include <cstdint>

// Positions from a hostile level file can sit near the ends of the int range.
// Sums wrap around like the two's-complement machine arithmetic the stored
// levels were made with, so sane values are unchanged and nothing overflows.
inline int32_t wrapped(int64_t value) { return int32_t(uint32_t(uint64_t(value))); }
