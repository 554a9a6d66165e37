#include "sim/view_angle.h"

#include "core/settings.h"
#include "core/wrapping.h"

namespace {
ProjectionSetter projectionSetter = nullptr;

constexpr float WIDEST_VIEW_ANGLE = 170.0f;
constexpr float NARROWING_PER_CALL = 1.5f;
constexpr float REST_VIEW_ANGLE = 35.0f;

bool refusedBySpeedSetting(float desiredAngle, ViewAngleRules::SpeedSetting rule) {
    if (settings.speed) return false;
    switch (rule) {
        case ViewAngleRules::SpeedSetting::Refuses: return true;
        case ViewAngleRules::SpeedSetting::RefusesAllBut35: return desiredAngle != REST_VIEW_ANGLE;
        case ViewAngleRules::SpeedSetting::Ignored: return false;
    }
    return true;
}

// The eye offsets from hostile speeds can exceed int range: saturate rather
// than overflow (a sane angle never comes near).
int32_t offsetFor(float degrees, int perDegree) {
    float offset = degrees * float(perDegree);
    if (offset > 2.0e9f) return 2000000000;
    if (offset < -2.0e9f) return -2000000000;
    return int32_t(offset);
}

}  // namespace

void setProjectionSetter(ProjectionSetter setter) { projectionSetter = setter; }

ViewAngleRules singlePlayerViewRules() { return ViewAngleRules{}; }

ViewAngleRules timeAttackViewRules() {
    ViewAngleRules rules;
    rules.speedSetting = ViewAngleRules::SpeedSetting::RefusesAllBut35;
    return rules;
}

ViewAngleRules splitScreenViewRules(bool facesKind) {
    ViewAngleRules rules;
    rules.eyeBack = 5000;
    rules.pullPerDegree = 45;
    rules.eyeUp = 1500;
    rules.dropPerDegree = 6;
    rules.speedSetting = ViewAngleRules::SpeedSetting::Ignored;
    rules.eyeFacesKind = facesKind;
    return rules;
}

float speedViewAngle(const Craft& craft) { return REST_VIEW_ANGLE + float(craft.f_speed) / 8.0f; }

void updateViewAngle(Craft& craft, float desiredAngle, bool force, const ViewAngleRules& rules) {
    if (desiredAngle > WIDEST_VIEW_ANGLE) return;
    if (refusedBySpeedSetting(desiredAngle, rules.speedSetting)) return;
    if (desiredAngle <= craft.viewAngle - NARROWING_PER_CALL && !force)
        craft.viewAngle -= NARROWING_PER_CALL;
    else
        craft.viewAngle = desiredAngle;
    if (projectionSetter) projectionSetter(craft);
    float widening = craft.viewAngle - REST_VIEW_ANGLE;
    int64_t eyeOffset = int64_t(offsetFor(widening, rules.pullPerDegree)) - rules.eyeBack;
    if (rules.eyeFacesKind) eyeOffset *= craft.kind < 0 ? -1 : 1;
    craft.camZ = wrapped(int64_t(craft.z) + eyeOffset);
    craft.camY = wrapped(int64_t(craft.ypos) + rules.eyeUp - offsetFor(widening, rules.dropPerDegree));
}

void updateViewAngle(Craft& craft, float desiredAngle, bool force) {
    updateViewAngle(craft, desiredAngle, force, singlePlayerViewRules());
}
