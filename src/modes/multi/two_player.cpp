#include "modes/multi/two_player.h"

#include "core/globals.h"
#include "sim/track.h"
#include "sim/view_angle.h"

namespace {
constexpr int EYE_BACK = 5000;
constexpr int EYE_UP = 1500;
constexpr float REST_VIEW_ANGLE = 35.0f;
}  // namespace

void respawnTwoPlayerCraft(Craft& craft, int32_t x, int32_t y, int32_t z, int facing) {
    craft.health = 100;
    craft.f_speed = craft.s_speed = craft.v_speed = 0;
    craft.groundType = 0;
    craft.lastGroundType = 0;
    craft.lastTouched = -1;
    craft.touchedTriggerCount = 0;
    for (uint8_t& key : craft.keys) key = 0;
    holdKeysDownNow(craft);
    placeCraft(craft, x, y, z, facing < 0 ? -EYE_BACK : EYE_BACK, EYE_UP);
    updateViewAngle(craft, REST_VIEW_ANGLE, true, splitScreenViewRules(facing < 0));
    placeCraft(craft, x, y, z, facing < 0 ? -EYE_BACK : EYE_BACK, EYE_UP);
    for (EffectSprite& effect : craft.effects) {
        effect.endTick = 0;
        effect.scaleZ = 1.0f;
    }
}

bool advanceSharedLevel(Level& level, Craft& a, Craft& b) {
    if (a.phase == 1 || b.phase == 1) {
        a.phase = b.phase = 2;
        animationTicks = 0;
        for (const Block& block : level.blocks) {  // run-time fields only
            const BlockBody& body = block.body;
            if (body.movePeriod == 0) continue;
            body.moveTime = 0;
            if (body.moving == 1) body.moving = 0;
        }
        return false;
    }
    if (a.phase != 2 && b.phase != 2) return false;
    animationTicks += 1;
    advanceLevel(level, TWO_PLAYER_HURT_PULSE);
    return true;
}

void holdKeyForBoth(Craft& a, Craft& b, int code, bool held) {
    setKeyHeld(a, code, held);
    setKeyHeld(b, code, held);
}

int64_t craftDistanceSquared(const Craft& a, const Craft& b) {
    const int64_t dx = int64_t(a.x) - b.x, dy = int64_t(a.ypos) - b.ypos, dz = int64_t(a.z) - b.z;
    // Far apart is far apart: a difference beyond 1.5e9 saturates, so the
    // sum of three squares always fits.
    const auto square = [](int64_t v) {
        const int64_t limit = 1500000000;
        v = v < 0 ? -v : v;
        return v > limit ? limit * limit : v * v;
    };
    return square(dx) + square(dy) + square(dz);
}
