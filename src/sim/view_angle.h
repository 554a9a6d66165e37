#pragma once

#include "sim/craft.h"

// The speed view: the field of view widens at once and narrows by at most
// 1.5 degrees per call, and the camera is pulled in as it widens. The sim
// keeps viewAngle and the eye; the projection itself is set by the render
// code through the setter each play mode installs (single, time attack,
// split screen, split facing).
using ProjectionSetter = void (*)(const Craft& craft);
void setProjectionSetter(ProjectionSetter setter);

// Where each play mode puts the eye and when the Speed setting applies.
struct ViewAngleRules {
    int eyeBack = 6000;       // eye z = z - eyeBack + int((angle - 35) * pullPerDegree)
    int pullPerDegree = 40;
    int eyeUp = 1800;         // eye y = ypos + eyeUp - int((angle - 35) * dropPerDegree)
    int dropPerDegree = 6;
    // Single player: with Speed off nothing changes. Time attack: with Speed
    // off only angles other than exactly 35 are refused, so the reset to 35
    // still takes. Race and castle attack: the draw decides, no test here.
    enum class SpeedSetting { Refuses, RefusesAllBut35, Ignored } speedSetting = SpeedSetting::Refuses;
    bool eyeFacesKind = false;  // castle attack: the eye offset is multiplied by kind (+1 / -1)
};

ViewAngleRules singlePlayerViewRules();
ViewAngleRules timeAttackViewRules();
ViewAngleRules splitScreenViewRules(bool facesKind);  // race: false, castle attack: true

// Desired angle a (35 + f_speed / 8); force skips the 1.5-degree narrowing.
// Angles above 170 are refused.
void updateViewAngle(Craft& craft, float desiredAngle, bool force,
                     const ViewAngleRules& rules);
// Single-player rules.
void updateViewAngle(Craft& craft, float desiredAngle, bool force);

// 35 + f_speed / 8, in single precision.
float speedViewAngle(const Craft& craft);
