#pragma once

#include "sim/craft.h"

// The speed view: the field of view widens at once and narrows by at most
// 1.5 degrees per call, and the camera is pulled in as it widens. The sim
// keeps viewAngle and the eye; the projection itself is set by the render
// code through the setter each play mode installs (single, time attack,
// split screen, split facing).
using ProjectionSetter = void (*)(const Craft& craft);
void setProjectionSetter(ProjectionSetter setter);

// Desired angle a (35 + f_speed / 8); force skips the 1.5-degree narrowing.
void updateViewAngle(Craft& craft, float desiredAngle, bool force);
