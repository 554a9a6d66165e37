#include "sim/arithmetic.h"
#include "sim/physics.h"

namespace {
constexpr int PLAYER_EYE_BACK = 6000;
constexpr int PLAYER_EYE_UP = 1800;
constexpr int START_INTO_BLOCK = 500;  // the start stands 500 into block 0
constexpr float REST_VIEW_ANGLE = 35.0f;

int32_t middleX(const BlockBody& body) { return wrapped(int64_t(body.x) - body.width / 2); }
int32_t restingY(const BlockBody& body) { return wrapped(int64_t(body.y) + CRAFT_REST_HEIGHT); }
}  // namespace

void clearCraftForRun(Craft& craft, int32_t kind) {
    craft.f_speed = craft.s_speed = craft.v_speed = 0;
    craft.groundType = 0;
    craft.lastGroundType = 0;
    craft.health = 100;
    craft.kind = kind;
    craft.lastTouched = -1;
    craft.touchedTriggerCount = 0;
    craft.holdTimer = 0;
    craft.phase = 0;
    craft.finished = false;
    for (uint8_t& key : craft.keys) key = 0;
    for (EffectSprite& effect : craft.effects) {
        effect.endTick = 0;
        effect.scaleZ = 1.0f;
    }
}

void placeCraft(Craft& craft, int32_t x, int32_t y, int32_t z, int eyeBack, int eyeUp) {
    craft.x = craft.prevX = x;
    craft.ypos = craft.prevY = y;
    craft.z = craft.prevZ = z;
    placeCameraBehind(craft, eyeBack, eyeUp);
}

void placeCameraBehind(Craft& craft, int eyeBack, int eyeUp) {
    craft.camX = craft.x;
    craft.camY = wrapped(int64_t(craft.ypos) + eyeUp);
    craft.camZ = wrapped(int64_t(craft.z) - eyeBack);
    craft.camUp[0] = 0;
    craft.camUp[1] = 1;
    craft.camUp[2] = 0;
    craft.camTargetOffset[0] = 0;
    craft.camTargetOffset[1] = 700;
    craft.camTargetOffset[2] = eyeBack >= 0 ? 1000 : -1000;
}

void resetCraft(Craft& craft, Level& level, int checkpoint, const ViewAngleRules& view) {
    clearCraftForRun(craft, CRAFT_KIND_PLAYER);
    holdKeysDownNow(craft);
    int32_t x = 0, y = 0, z = 0;
    int gate = checkpoint > 0 ? checkpointBlock(level, checkpoint) : -1;
    if (gate >= 0) {
        const BlockBody& body = level.blocks[size_t(gate)].body;
        x = middleX(body);
        y = restingY(body);
        z = body.pointY;
    } else if (!level.blocks.empty()) {
        const BlockBody& body = level.blocks[0].body;
        x = middleX(body);
        y = restingY(body);
        z = wrapped(int64_t(body.z) + START_INTO_BLOCK);
    }
    placeCraft(craft, x, y, z, PLAYER_EYE_BACK, PLAYER_EYE_UP);
    updateViewAngle(craft, REST_VIEW_ANGLE, true, view);
    // The eye stands where the reset puts it, whatever the view update did.
    placeCraft(craft, x, y, z, PLAYER_EYE_BACK, PLAYER_EYE_UP);
    resetLevel(level);
}
