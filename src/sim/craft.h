#pragma once

#include <cstdint>

// A puff of smoke, flame or the jump cloud, drawn additively as one of the
// five sprite tiles scaled from 190 x 190 units.
struct EffectSprite {
    int32_t x = 0, y = 0, z = 0;
    uint32_t endTick = 0;  // clock tick at which the sprite expires
    int32_t tile = 0;      // sprite tile 0..4
    float red = 0, green = 0, blue = 0;
    float scaleX = 0, scaleY = 0;
    float scaleZ = 1.0f;  // a reset sets it to 1
};

constexpr int CRAFT_EFFECT_COUNT = 10;
constexpr int KEY_FLAG_COUNT = 323;  // one flag per SDL 1.2 key number (core/key_table.h)
// Trigger blocks a craft can touch at once and still remember; a ninth one
// under the same craft would fire again on the next step.
constexpr int CRAFT_TOUCHED_TRIGGER_MEMORY = 8;

// Craft kinds read by the block test.
constexpr int CRAFT_KIND_PLAYER = 1;
constexpr int CRAFT_KIND_PUSHER = 99;
constexpr int CRAFT_KIND_BONUS = 200;

// holdTimer values set by a pong game.
constexpr int HOLD_BY_PONG = -10000;
constexpr int HOLD_PONG_RELEASED = -10;

// Ground types beyond the block types: leaning on a block side.
constexpr int GROUND_AIRBORNE = -1;
constexpr int GROUND_SIDE_LEFT = 15;   // block on the craft's left (-x side contact)
constexpr int GROUND_SIDE_RIGHT = 16;  // block on the craft's right

struct Craft {
    int32_t f_speed = 0;  // forward, world units per step (+ toward +z)
    int32_t s_speed = 0;  // sideways (+ toward +x, the player's left)
    int32_t v_speed = 0;  // vertical (+ up)
    int32_t groundType = 0;
    int32_t x = 0, ypos = 0, z = 0;
    int32_t prevX = 0, prevY = 0, prevZ = 0;
    EffectSprite effects[CRAFT_EFFECT_COUNT];
    int32_t powerup = 0;     // 100 while over a pong court
    int32_t checkpoint = 0;  // computer crafts: steering timer
    int32_t health = 100;
    int32_t kind = CRAFT_KIND_PLAYER;
    int32_t lastGroundType = 0;
    int32_t lives = 0;
    int32_t holdTimer = 0;
    int32_t catchCooldown = 0;
    int32_t timeMs = 0, msPart = 0, seconds = 0, minutes = 0;
    bool finished = false;
    int32_t phase = 0;  // 0 waiting, 1 first running step, 2 running; computer crafts: skill
    uint8_t keys[KEY_FLAG_COUNT] = {};
    float viewAngle = 35.0f;
    int32_t camX = 0, camY = 0, camZ = 0;  // computer crafts: camX is the block index under them
    int32_t camUp[3] = {0, 1, 0};
    int32_t camTargetOffset[3] = {0, 700, 1000};
    int32_t modeData[3] = {};
    // Index of the block last touched (-1 none); a pong game is played on it.
    // An index, not a pointer, so a reloaded level can never leave it dangling.
    int32_t lastTouched = -1;
    // The touch-trigger blocks touched in the latest step that touched any
    // block. A trigger fires only when its block is not among them, so a craft
    // resting on a trigger plate and a second block fires the plate once, and
    // one that jumps and lands back on the plate does not fire it again.
    int32_t touchedTriggers[CRAFT_TOUCHED_TRIGGER_MEMORY] = {};
    int32_t touchedTriggerCount = 0;
};
