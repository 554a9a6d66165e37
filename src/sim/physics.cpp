#include "sim/physics.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "core/held_keys.h"
#include "core/key_table.h"
#include "core/services.h"
#include "core/settings.h"
#include "sim/arithmetic.h"

namespace {

constexpr int JUMP_PUFF_ENTRY = CRAFT_EFFECT_COUNT - 1;
constexpr int PONG_COURT_MARGIN = 50;
constexpr int HURT_DAMAGE = 3;
constexpr int HEAL_AMOUNT = 2;
constexpr int BLOCK_PUSH = 60;           // LEFT and RIGHT blocks
constexpr int SPEED_BLOCK_GAIN = 5;
constexpr int SLOW_BLOCK_LOSS = 4;
constexpr float JUMP_PAD_DIVISOR = 1.9f;

void speedView(Craft& craft, const PlayRules& rules) {
    if (rules.viewAngleInStep) updateViewAngle(craft, speedViewAngle(craft), false, rules.view);
}

bool held(const Craft& craft, int code) { return keyHeld(craft, code); }

bool heldByPong(const Craft& craft) { return craft.holdTimer == HOLD_BY_PONG; }

int32_t steeringSpeed(int32_t forwardSpeed) { return 40 + std::min(std::abs(forwardSpeed / 4), 70); }

int directionOf(const Craft& craft, const PlayRules& rules) {
    if (!rules.directionFromKind) return 1;
    return craft.kind < 0 ? -1 : 1;
}

// The pong court the craft is held on: the block it last touched.
const BlockBody* courtOf(const Craft& craft, const Level& level) {
    if (!level.validIndex(craft.lastTouched)) return nullptr;
    return &level.blocks[size_t(craft.lastTouched)].body;
}

void steerLeft(Craft& craft, const Level& level, const PlayRules& rules) {
    if (rules.fixedSteering > 0) {
        if (craft.s_speed < 180) craft.s_speed += rules.fixedSteering;
        return;
    }
    if (heldByPong(craft)) {
        const BlockBody* court = courtOf(craft, level);
        if (court && int64_t(craft.x) + PONG_COURT_MARGIN <= court->x) craft.s_speed += PONG_SIDE_SPEED;
        return;
    }
    craft.s_speed += steeringSpeed(craft.f_speed);
}

void steerRight(Craft& craft, const Level& level, const PlayRules& rules) {
    if (rules.fixedSteering > 0) {
        if (craft.s_speed > -180) craft.s_speed -= rules.fixedSteering;
        return;
    }
    if (heldByPong(craft)) {
        const BlockBody* court = courtOf(craft, level);
        if (court && int64_t(court->x) - court->width <= int64_t(craft.x) - PONG_COURT_MARGIN)
            craft.s_speed -= PONG_SIDE_SPEED;
        return;
    }
    craft.s_speed -= steeringSpeed(craft.f_speed);
}

// ICE keeps the sideways momentum from before the steering, with weak control.
void iceEffect(Craft& craft, int32_t savedSide, const PlayRules& rules) {
    const ControlKeys& keys = rules.keys;
    craft.s_speed = savedSide;
    if (held(craft, keys.forward) && craft.f_speed < FORWARD_LIMIT && !heldByPong(craft)) craft.f_speed -= 3;
    if (held(craft, keys.backward) && craft.f_speed > BACKWARD_LIMIT && !heldByPong(craft)) craft.f_speed += 2;
    // Without the grip the speed adds nothing and a drift beyond 100 is left alone.
    const bool grip = rules.iceSpeedGrip;
    if (held(craft, keys.left) && craft.s_speed > -180) {
        if (craft.s_speed < 100) {
            if (grip) craft.s_speed += std::abs(craft.f_speed / 55);
            craft.s_speed += craft.s_speed < 1 ? 8 : 15;
        } else if (grip) {
            craft.s_speed -= 7;
        }
    }
    if (held(craft, keys.right) && craft.s_speed < 180) {
        if (craft.s_speed < -99) {
            if (grip) craft.s_speed += 7;
        } else {
            if (grip) craft.s_speed -= std::abs(craft.f_speed / 55);
            craft.s_speed -= craft.s_speed < 0 ? 15 : 8;
        }
    }
}

StepOutcome hurtEffect(Craft& craft, const PlayRules& rules) {
    if (!rules.hooks->hurtApplies(craft)) return StepOutcome::Completed;
    playSound(1, SOUND_HURT);
    craft.health -= HURT_DAMAGE;
    if (craft.health >= 1) return StepOutcome::Completed;
    playSound(ANY_CHANNEL, SOUND_EXPLODE);
    rules.hooks->onDeath(craft, DeathCause::Health);
    return StepOutcome::Died;
}

StepOutcome groundBranch(Craft& craft, Level& level, int previousType, int standingBlock, const PlayRules& rules) {
    int32_t savedSide = groundControl(craft, level, previousType, rules);
    jumpControl(craft, rules);
    StepOutcome outcome = applyBlockEffect(craft, standingBlock, savedSide, rules);
    if (outcome != StepOutcome::Completed) return outcome;
    craft.lastGroundType = craft.groundType;
    return StepOutcome::Completed;
}

}  // namespace

void addFrameTime(StepAccumulator& accumulator, int32_t elapsedMs) {
    // MAX_STEPS_PER_FRAME steps due, and the most a remainder can be.
    constexpr int64_t most = int64_t(STEP_MS) * MAX_STEPS_PER_FRAME + STEP_MS;
    if (elapsedMs > 0) accumulator.ms = int32_t(std::min<int64_t>(int64_t(accumulator.ms) + elapsedMs, most));
}

bool stepDue(const StepAccumulator& accumulator) { return accumulator.ms >= STEP_START_MS; }

void stepFinished(StepAccumulator& accumulator) { accumulator.ms -= STEP_MS; }

ControlKeys controlKeys(int group) {
    const int* k = settings.keys;
    if (group == 1) return {k[KEY_FORWARD1], k[KEY_BACKWARD1], k[KEY_RIGHT1], k[KEY_LEFT1], k[KEY_JUMP1]};
    return {k[KEY_FORWARD2], k[KEY_BACKWARD2], k[KEY_RIGHT2], k[KEY_LEFT2], k[KEY_JUMP2]};
}

// The flags are indexed by the keys' SDL 1.2 numbers, as they always were.
void setKeyHeld(Craft& craft, int code, bool isHeld) {
    const int number = keyNumberOf(code);
    if (number >= 0 && number < KEY_FLAG_COUNT) craft.keys[number] = isHeld ? 1 : 0;
}

bool keyHeld(const Craft& craft, int code) {
    const int number = keyNumberOf(code);
    return number >= 0 && number < KEY_FLAG_COUNT && craft.keys[number] != 0;
}

void holdKeysDownNow(Craft& craft) {
    for (int code : keysDown()) setKeyHeld(craft, code, true);
}

bool drivingKeyHeld(const Craft& craft, const ControlKeys& keys) {
    return keyHeld(craft, keys.forward) || keyHeld(craft, keys.backward) || keyHeld(craft, keys.right) ||
           keyHeld(craft, keys.left);
}

PlayRules singlePlayerRules(PlayHooks& hooks) {
    PlayRules rules;
    rules.keys = controlKeys(2);
    rules.pongCourts = true;
    rules.crashContinuesStep = true;
    rules.hooks = &hooks;
    return rules;
}

PlayRules timeAttackRules(PlayHooks& hooks) {
    PlayRules rules;
    rules.keys = controlKeys(2);
    rules.view = timeAttackViewRules();
    rules.hooks = &hooks;
    return rules;
}

PlayRules raceRules(PlayHooks& hooks, int keyGroup, int gravity) {
    PlayRules rules;
    rules.keys = controlKeys(keyGroup);
    rules.gravity = gravity;
    rules.jumpRule = JumpRule::Always;
    rules.viewAngleInStep = false;
    rules.view = splitScreenViewRules(false);
    rules.hooks = &hooks;
    return rules;
}

PlayRules castleRules(PlayHooks& hooks, int keyGroup, int gravity) {
    PlayRules rules = raceRules(hooks, keyGroup, gravity);
    rules.directionFromKind = true;
    rules.view = splitScreenViewRules(true);
    return rules;
}

void airControl(Craft& craft, const PlayRules& rules) {
    const ControlKeys& keys = rules.keys;
    craft.v_speed -= rules.gravity;
    if (!rules.airSteering) return;
    if (held(craft, keys.forward) && craft.f_speed < FORWARD_LIMIT && !heldByPong(craft)) {
        craft.f_speed += 3;
        speedView(craft, rules);
    }
    if (held(craft, keys.backward) && craft.f_speed > BACKWARD_LIMIT && !heldByPong(craft)) {
        craft.f_speed -= 2;
        speedView(craft, rules);
    }
    // In the air the keys only limit a drift the other way; they add nothing.
    if (held(craft, keys.left) && craft.s_speed < -AIR_SIDE_LIMIT) craft.s_speed = -AIR_SIDE_LIMIT;
    if (held(craft, keys.right) && craft.s_speed > AIR_SIDE_LIMIT) craft.s_speed = AIR_SIDE_LIMIT;
}

int32_t groundControl(Craft& craft, const Level& level, int previousType, const PlayRules& rules) {
    const ControlKeys& keys = rules.keys;
    if (craft.holdTimer == HOLD_PONG_RELEASED) {
        if (craft.powerup != 100) craft.holdTimer = 0;
        craft.powerup = 0;
    }
    bool leaning = craft.groundType == GROUND_SIDE_LEFT || craft.groundType == GROUND_SIDE_RIGHT;
    if (craft.v_speed < 0 && !leaning) {
        playSound(2, SOUND_BUMP);
        craft.v_speed = 0;
        if (previousType < 0) craft.s_speed /= 2;
    }
    int32_t savedSide = craft.s_speed;
    if (craft.holdTimer < 1) craft.s_speed = 0;  // on the ground sideways speed does not persist
    if (held(craft, keys.forward) && craft.f_speed < FORWARD_LIMIT && !heldByPong(craft)) {
        playSound(2, SOUND_SPEEDUP);
        craft.f_speed += 4;
        speedView(craft, rules);
    }
    if (held(craft, keys.backward) && craft.f_speed > BACKWARD_LIMIT && !heldByPong(craft)) {
        playSound(2, SOUND_SLOWDOWN);
        craft.f_speed -= 3;
        speedView(craft, rules);
    }
    // A craft pressed against a block cannot steer into it, only away. The
    // side contacts name world sides (15: the block at +x); a craft turned
    // round by its kind steers toward -x with its left key.
    const bool turned = directionOf(craft, rules) < 0;
    const int blockOnLeft = turned ? GROUND_SIDE_RIGHT : GROUND_SIDE_LEFT;
    const int blockOnRight = turned ? GROUND_SIDE_LEFT : GROUND_SIDE_RIGHT;
    if (held(craft, keys.left) && craft.groundType != blockOnLeft && craft.holdTimer < 1)
        steerLeft(craft, level, rules);
    if (held(craft, keys.right) && craft.groundType != blockOnRight && craft.holdTimer < 1)
        steerRight(craft, level, rules);
    return savedSide;
}

void jumpControl(Craft& craft, const PlayRules& rules) {
    if (!held(craft, rules.keys.jump)) return;
    int push = WALL_JUMP_PUSH * directionOf(craft, rules);
    if (craft.groundType == GROUND_SIDE_LEFT) craft.s_speed = -push;
    if (craft.groundType == GROUND_SIDE_RIGHT) craft.s_speed = push;
    bool speedAllows = rules.jumpRule == JumpRule::Always || craft.v_speed < JUMP_BELOW_SPEED;
    if (!speedAllows || craft.groundType == BLOCK_NOJUMP) return;
    jumpNow(craft, rules.jumpSounds);
    if (rules.jumpReleasesKey) setKeyHeld(craft, rules.keys.jump, false);
}

StepOutcome applyBlockEffect(Craft& craft, int standingBlock, int32_t savedSide, const PlayRules& rules) {
    switch (craft.groundType) {
        case BLOCK_SPEED:
            playSound(2, SOUND_SPEEDUP);
            craft.f_speed += SPEED_BLOCK_GAIN;
            speedView(craft, rules);
            break;
        case BLOCK_SLOW:
            playSound(2, SOUND_SLOWDOWN);
            craft.f_speed -= SLOW_BLOCK_LOSS;
            speedView(craft, rules);
            break;
        case BLOCK_LEFT: craft.s_speed += BLOCK_PUSH; break;
        case BLOCK_RIGHT: craft.s_speed -= BLOCK_PUSH; break;
        case BLOCK_HURT: return hurtEffect(craft, rules);
        case BLOCK_ICE: iceEffect(craft, savedSide, rules); break;
        case BLOCK_CRAZY:
            if (rules.crazyFlipsView && craft.lastGroundType != BLOCK_CRAZY) craft.camUp[1] = -craft.camUp[1];
            break;
        case BLOCK_HEAL:
            if (craft.health < 100) {
                craft.health += HEAL_AMOUNT;
                playSound(1, SOUND_HEAL);
            }
            break;
        case BLOCK_JUMP:
            if (rules.jumpSounds) playSound(ANY_CHANNEL, SOUND_JUMP);
            craft.v_speed = int32_t(float(std::abs(int64_t(craft.f_speed))) / JUMP_PAD_DIVISOR);
            break;
        case BLOCK_GOAL:
            if (!rules.hooks->goalApplies(craft, standingBlock)) break;
            rules.hooks->onFinish(craft, standingBlock);
            return StepOutcome::Finished;
        default: break;  // plain, no-jump, side contact, unknown types
    }
    return StepOutcome::Completed;
}

void integrate(Craft& craft, const PlayRules& rules) {
    int direction = directionOf(craft, rules);
    craft.prevX = craft.x;
    craft.prevY = craft.ypos;
    craft.prevZ = craft.z;
    moveBy(craft.z, int64_t(direction) * craft.f_speed);
    moveBy(craft.ypos, craft.v_speed);
    moveBy(craft.x, int64_t(direction) * craft.s_speed);
    if (!rules.moveCamera) return;
    moveBy(craft.camX, int64_t(direction) * craft.s_speed);
    moveBy(craft.camY, craft.v_speed);
    moveBy(craft.camZ, int64_t(direction) * craft.f_speed);
}

StepOutcome physicsStep(Craft& craft, Level& level, const PlayRules& rules) {
    if (craft.v_speed < FALL_SPEED) {
        playSound(ANY_CHANNEL, SOUND_EXPLODE);
        rules.hooks->onDeath(craft, DeathCause::Fall);
        return StepOutcome::Died;
    }
    int previousType = craft.groundType;
    rules.hooks->beforeGroundScan(craft, level);
    GroundScanOptions options;
    options.pongCourts = rules.pongCourts;
    options.landingStopsFall = rules.landingStopsFall;
    options.mirroredOrder = rules.mirroredScanOrder;
    GroundScanResult scan = groundScan(craft, level, options);
    craft.groundType = scan.groundType;
    if (scan.pongStartBlock >= 0) rules.hooks->onPongStart(craft, level, scan.pongStartBlock);
    if (scan.crashed) {
        rules.hooks->onDeath(craft, DeathCause::Crash);
        if (!rules.crashContinuesStep) return StepOutcome::Died;
        craft.groundType = 0;
        scan.standingBlock = -1;
    } else {
        rules.hooks->afterGroundScan(craft, level, scan.standingBlock);
    }

    if (craft.groundType < 0) {
        airControl(craft, rules);
    } else {
        StepOutcome outcome = groundBranch(craft, level, previousType, scan.standingBlock, rules);
        if (outcome != StepOutcome::Completed) return outcome;
    }
    if (rules.startDetection && craft.f_speed != 0 && craft.phase == 0) craft.phase = 1;
    integrate(craft, rules);
    return StepOutcome::Completed;
}

void jumpNow(Craft& craft, bool withSound) {
    craft.v_speed = JUMP_SPEED;
    if (withSound) playSound(ANY_CHANNEL, SOUND_JUMP);
    EffectSprite& puff = craft.effects[JUMP_PUFF_ENTRY];
    puff.x = wrapped(int64_t(craft.x) + 200);
    puff.y = wrapped(int64_t(craft.ypos) + 100);
    puff.z = craft.z;
    puff.endTick = currentTicks() + uint32_t(randomInt(300, 900));
    puff.tile = 0;
    puff.red = 0.75f;
    puff.green = 0.75f;
    puff.blue = 1.0f;
    puff.scaleX = 2.5f + float(randomInt(0, 7)) / 10.0f;
    puff.scaleY = 2.5f + float(randomInt(0, 7)) / 10.0f;
}

std::string diedMessage(const Craft& craft, bool padMinutes) {
    char text[64];
    std::snprintf(text, sizeof text, padMinutes ? "Died after %2d:%02d:%02d" : "Died after %d:%02d:%02d",
                  craft.minutes, craft.seconds, craft.msPart / 10);
    return text;
}
