#include "sim/computer_craft.h"

#include <algorithm>

#include "core/services.h"
#include "sim/arithmetic.h"
#include "sim/computer_physics.h"

namespace {

constexpr int SPAWN_HEIGHT = 200;  // above the spawn block's top: the craft drops onto it
constexpr int SPAWN_EYE_UP = 2000;
constexpr int SPAWN_EYE_BACK = 7000;
constexpr int CONTACT_DISTANCE = 500;  // push and catch
constexpr int PUSH_HOLD_STEPS = 20;
constexpr int SIDE_SPEED_KEPT = 200;   // a player already this fast sideways is not pushed faster
constexpr int BONUS_TURN_DEGREES = 4;

int clampSkill(int32_t stored) { return std::clamp<int32_t>(stored, 0, 2); }

bool withinContact(const Craft& a, const Craft& b) {
    double dx = double(a.x) - b.x, dy = double(a.ypos) - b.ypos, dz = double(a.z) - b.z;
    return dx * dx + dy * dy + dz * dz < double(CONTACT_DISTANCE) * CONTACT_DISTANCE;
}

}  // namespace

void ComputerCrafts::onBonusSpawnPoint(const Level& level, int blockIndex) {
    if (!anyActive()) spawn(CRAFT_KIND_BONUS, level, blockIndex);
}

void ComputerCrafts::onPusherSpawnPoint(const Level& level, int blockIndex) {
    bonusActive = false;
    if (!pusherActive) spawn(CRAFT_KIND_PUSHER, level, blockIndex);
}

void ComputerCrafts::spawn(int kind, const Level& level, int blockIndex) {
    if (!level.validIndex(blockIndex)) return;
    const BlockBody& body = level.blocks[size_t(blockIndex)].body;
    const bool isPusher = kind == CRAFT_KIND_PUSHER;
    Craft& craft = isPusher ? pusher : bonus;
    craft = Craft{};
    clearCraftForRun(craft, isPusher ? CRAFT_KIND_PUSHER : CRAFT_KIND_BONUS);
    const int32_t y = wrapped(int64_t(body.y) + SPAWN_HEIGHT);
    placeCraft(craft, body.pointX, y, body.pointY, SPAWN_EYE_BACK, SPAWN_EYE_UP);
    // camX is the index of the block under a computer craft, not an eye.
    craft.camX = NO_BLOCK;
    craft.lives = 0;
    craft.catchCooldown = 0;
    craft.checkpoint = 0;  // the steering timer
    // The skill comes from a level file: anything outside 0..2 is clamped,
    // so the cooldown modulus 200 - 10 x skill stays positive.
    craft.phase = clampSkill(body.pointZ);
    route.clear();
    if (!window_.builtFor(level)) window_.build(level);
    (isPusher ? pusherActive : bonusActive) = true;
}

void ComputerCrafts::removeAll() {
    pusherActive = false;
    bonusActive = false;
    route.clear();
    pong.remove();
}

void ComputerCrafts::step(Craft& player, Level& level, const ControlKeys& playerKeys, PongHooks& pongHooks) {
    stepPusher(player, level);
    stepBonus(player, level);
    pong.step(player, level, playerKeys, pongHooks);
}

void ComputerCrafts::stepPusher(Craft& player, Level& level) {
    if (!pusherActive) return;
    if (!window_.builtFor(level)) window_.build(level);
    const int previousBlock = pusher.camX;
    if (pusher.checkpoint > 0) --pusher.checkpoint;
    if (!computerPhysicsStep(pusher, level)) {
        pusherActive = false;
        return;
    }
    driveComputerCraft(pusher, previousBlock, player, level, window_, route, jumpLabel_);
    push(player);
}

void ComputerCrafts::stepBonus(Craft& player, Level& level) {
    if (!bonusActive) return;
    if (!window_.builtFor(level)) window_.build(level);
    const int previousBlock = bonus.camX;
    if (bonus.catchCooldown > 0) {
        --bonus.catchCooldown;
    } else {
        const int skill = clampSkill(bonus.phase);
        if (currentTicks() % uint32_t(200 - 10 * skill) == 0) bonus.catchCooldown = 100 + 40 * skill;
    }
    bonusAngle = (bonusAngle + BONUS_TURN_DEGREES) % 360;
    if (!computerPhysicsStep(bonus, level)) {
        bonusActive = false;
        return;
    }
    driveComputerCraft(bonus, previousBlock, player, level, window_, route, jumpLabel_);
    catchBonus(player);
}

// The player is put exactly 500 from the pusher on x and on z, and, unless
// already held, keeps a sideways shove for 20 steps.
void ComputerCrafts::push(Craft& player) {
    if (!withinContact(player, pusher)) return;
    const bool plusSide = player.x > pusher.x;
    const bool ahead = player.z > pusher.z;
    const int32_t newX = wrapped(int64_t(pusher.x) + (plusSide ? CONTACT_DISTANCE : -CONTACT_DISTANCE));
    const int32_t newZ = wrapped(int64_t(pusher.z) + (ahead ? CONTACT_DISTANCE : -CONTACT_DISTANCE));
    moveBy(player.camX, int64_t(newX) - player.x);
    moveBy(player.camZ, int64_t(newZ) - player.z);
    player.x = newX;
    player.z = newZ;
    if (player.holdTimer != 0) return;
    player.holdTimer = PUSH_HOLD_STEPS;
    playSound(ANY_CHANNEL, SOUND_BUMP);
    exchangeSideSpeeds(player, plusSide);
}

void ComputerCrafts::exchangeSideSpeeds(Craft& player, bool playerOnPlusSide) {
    if (!playerOnPlusSide) {
        if (pusher.s_speed < 0) {
            if (player.s_speed > -SIDE_SPEED_KEPT) player.s_speed = wrapped(int64_t(player.s_speed) + pusher.s_speed);
        } else if (player.s_speed > 0) {
            pusher.s_speed = player.s_speed;
        }
    } else {
        if (pusher.s_speed > 0) {
            if (player.s_speed < SIDE_SPEED_KEPT) player.s_speed = wrapped(int64_t(player.s_speed) + pusher.s_speed);
        } else if (player.s_speed < 0) {
            pusher.s_speed = player.s_speed;
        }
    }
}

void ComputerCrafts::catchBonus(Craft& player) {
    if (!withinContact(player, bonus) || bonus.catchCooldown > 0) return;
    playSound(ANY_CHANNEL, SOUND_LIFE);
    player.lives += 1;
    bonusActive = false;
}
