#pragma once

#include <cstdint>

#include "core/wrapping.h"

// Moves wrap around (see wrapped) instead of overflowing.
inline void moveBy(int32_t& coordinate, int64_t delta) { coordinate = wrapped(int64_t(coordinate) + delta); }
