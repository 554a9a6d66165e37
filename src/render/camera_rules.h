#pragma once

// Arithmetic of the speed view, kept apart from GL so it can be tested alone.

// The angle the view takes when asked for `asked` while at `current`:
// narrowing is limited to 1.5 degrees per call unless snapping; widening is
// immediate.
float nextViewAngle(float current, float asked, bool snap);

// Where the eye sits relative to the craft at view angle v: z offset along
// the track (negative: behind a craft facing +z) and height above it.
struct EyeOffset {
    int z;
    int y;
};
EyeOffset fullWindowEyeOffset(float viewAngle);
// direction +1 for a craft facing +z, -1 for one facing -z.
EyeOffset splitEyeOffset(float viewAngle, int direction);
