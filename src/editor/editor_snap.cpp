#include "editor/editor_snap.h"

int32_t snapTowardZero(int32_t value, int32_t step) {
    if (step <= 0) return value;
    // C++ remainders take the sign of the dividend, which is the rule.
    return value - value % step;
}

int32_t stretchedSize(int32_t offset) {
    const int32_t size = snapTowardZero(offset, STRETCH_GRID);
    return size < STRETCH_GRID ? SHORT_STRETCH_SIZE : size;
}
