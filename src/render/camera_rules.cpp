#include "render/camera_rules.h"

float nextViewAngle(float current, float asked, bool snap) {
    // Braking zooms in gently; speeding up widens the view at once.
    if (asked <= current - 1.5f && !snap) return current - 1.5f;
    return asked;
}

EyeOffset fullWindowEyeOffset(float viewAngle) {
    const float wider = viewAngle - 35.0f;
    return {int(wider * 40.0f) - 6000, 1800 - int(wider * 6.0f)};
}

EyeOffset splitEyeOffset(float viewAngle, int direction) {
    const float wider = viewAngle - 35.0f;
    return {direction * (int(wider * 45.0f) - 5000), 1500 - int(wider * 6.0f)};
}
