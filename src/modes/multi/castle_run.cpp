#include "modes/multi/castle_run.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "core/services.h"
#include "level/level_file.h"
#include "modes/multi/two_player.h"
#include "sim/arithmetic.h"
#include "sim/track.h"

namespace {
constexpr int WALL_HALF_WIDTH_REACH = 920;  // the wall's 800 plus the craft's 120
constexpr int WALL_BELOW = 190;
constexpr int WALL_ABOVE = 800;
constexpr int WALL_BEHIND = 120;            // placed behind the craft that sets it
constexpr int CASTLE_REACH = 1000;
constexpr int SIDE_MARGIN = 60;             // craft contact: beside, not head on
constexpr int PUSH_SIDE_MARGIN = 40;

}  // namespace

bool attackScores(int kind, const BlockBody& block, const BlockBody& opponentsCastleGoal) {
    if (kind >= 0) return int64_t(block.z) + CASTLE_REACH >= opponentsCastleGoal.z;
    return int64_t(block.z) - CASTLE_REACH < int64_t(opponentsCastleGoal.z) + opponentsCastleGoal.length;
}

int CastleRun::loadLevel(const std::string& path) {
    Level stored;
    if (loadPlayLevel(path, stored) != 0) {
        useStoredHalf(Level());
        return -1;
    }
    // A level too big to mirror is refused by the arena builder, which says so.
    const bool fitsArena = stored.blockCount() <= MAX_CASTLE_STORED_BLOCKS;
    if (useStoredHalf(std::move(stored)) != 0) {
        // Without castles there is nothing to attack.
        if (fitsArena) std::fputs("Level not found.\n", stderr);
        return -1;
    }
    return 0;
}

int CastleRun::useStoredHalf(Level stored) {
    level = std::move(stored);
    castleGoalA = castleGoalB = -1;
    spinAngle = 0;
    farStartBlock = buildCastleArena(level);
    // No arena, no duel: the stored half alone has no far start for B.
    if (farStartBlock >= 0) findCastleGoals();
    if (castleGoalA < 0 || castleGoalB < 0) {
        level = Level();
        castleGoalA = castleGoalB = farStartBlock = -1;
        return -1;
    }
    return 0;
}

void CastleRun::findCastleGoals() {
    int goals = 0;
    for (const Block& block : level.blocks)
        if (block.type == BLOCK_GOAL) ++goals;
    int seen = 0;
    for (int i = 0; i < level.blockCount(); ++i) {
        if (level.blocks[size_t(i)].type != BLOCK_GOAL) continue;
        ++seen;
        if (seen <= goals / 2) {
            castleGoalA = i;
        } else {
            castleGoalB = i;
            break;
        }
    }
}

void CastleRun::start(int lives, bool powerupsOn, int castleGravity) {
    powerups = powerupsOn;
    gravity = castleGravity;
    spinAngle = 0;
    for (int player = 0; player < 2; ++player) {
        CastlePlayer& side = players[player];
        side = CastlePlayer();
        side.craft.kind = player == PLAYER_A ? 1 : -1;
        side.craft.viewAngle = 35.0f;
        side.castleHealth = lives;
    }
    respawn(PLAYER_A);
    respawn(PLAYER_B);
}

void CastleRun::respawn(int player) {
    Craft& craft = players[player].craft;
    if (!hasLevel()) {
        respawnTwoPlayerCraft(craft, 0, 0, 0, craft.kind);
        return;
    }
    if (player == PLAYER_A) {
        const BlockBody& first = level.blocks[0].body;
        respawnTwoPlayerCraft(craft, wrapped(int64_t(first.x) - first.width / 2), wrapped(int64_t(first.y) + 150),
                              wrapped(int64_t(first.z) + 500), 1);
    } else {
        // The mirror of A's start: on an odd width B's middle rounds toward
        // +x where A's rounds toward -x, so both start on the arena's centre.
        const BlockBody& far = level.blocks[size_t(farStartBlock)].body;
        respawnTwoPlayerCraft(craft, wrapped(int64_t(far.x) - far.width + far.width / 2), wrapped(int64_t(far.y) + 150),
                              wrapped(int64_t(far.z) + far.length - 500), -1);
    }
}

void CastleRun::usePowerup(int player) {
    CastlePlayer& side = players[player];
    Craft& craft = side.craft;
    switch (craft.powerup) {
        case POWERUP_SHIELD:
            side.armed = POWERUP_SHIELD;
            side.shieldTime = SHIELD_STEPS;
            craft.powerup = POWERUP_NONE;
            side.powerupsUsed += 1;
            // Only the first key group's player hears the shield go up.
            if (player == PLAYER_A) playSound(1, SOUND_PUSH);
            break;
        case POWERUP_PUSH:
            side.armed = POWERUP_PUSH;
            side.pushTime = PUSH_STEPS;
            craft.powerup = POWERUP_NONE;
            side.powerupsUsed += 1;
            playSound(1, SOUND_PUSH);
            break;
        case POWERUP_ICE:
        case POWERUP_WALL:
        case POWERUP_HURT:
            // Armed only on the ground; counted once it acts (placeArmed),
            // since a protected block hands it back.
            if (craft.groundType < 0) break;
            side.armed = craft.powerup;
            craft.powerup = POWERUP_NONE;
            break;
        default: break;  // none, or the air jump that acts by itself
    }
}

void CastleRun::update(int elapsedMs) {
    if (over()) return;
    for (CastlePlayer& side : players) addFrameTime(side.accumulator, elapsedMs);
    stepDueRounds(players, [this](auto due) { return stepRound(due); });
}

void CastleRun::stepRound() {
    stepRound([](int) { return true; });
}

template <class Due>
bool CastleRun::stepRound(Due due) {
    bool stepped[2] = {false, false};
    for (int player = 0; player < 2; ++player) {
        // A scored attack can end the duel before B's step.
        if (over() || !due(player)) continue;
        stepped[player] = true;
        step(player);
    }
    // Once per round of steps, never per drawn frame.
    if (stepped[0] || stepped[1]) contacts(stepped[0], stepped[1]);
    return stepped[0] || stepped[1];
}

StepOutcome CastleRun::step(int player) {
    CastlePlayer& side = players[player];
    Craft& craft = side.craft;
    if (craft.holdTimer > 0) craft.holdTimer -= 1;
    if (side.shieldTime > 0) side.shieldTime -= 1;
    if (side.pushTime > 0) side.pushTime -= 1;
    if (!hasLevel()) return StepOutcome::Completed;
    if (advanceSharedLevel(level, players[0].craft, players[1].craft)) {
        // Power-ups lie ready again and changed blocks wear off.
        for (const Block& block : level.blocks) {  // run-time fields only
            if (block.pickupCooldown > 0) block.pickupCooldown -= 1;
            if (block.body.changedTypeTime > 0) block.body.changedTypeTime -= 1;
        }
        spinAngle = (spinAngle + 1) % 360;
    }
    PlayRules rules = castleRules(*this, player == PLAYER_A ? 1 : 2, gravity);
    if (player == PLAYER_B) rules.mirroredScanOrder = &mirroredOrder();
    return physicsStep(craft, level, rules);
}

const MirroredScanOrder& CastleRun::mirroredOrder() {
    if (!mirroredOrderFound_ || mirroredOrderVersion_ != level.blocks.version()) {
        mirroredOrder_ = mirroredScanOrder(level);
        mirroredOrderVersion_ = level.blocks.version();
        mirroredOrderFound_ = true;
    }
    return mirroredOrder_;
}

int CastleRun::winner() const {
    if (players[PLAYER_A].castleHealth < 1) return PLAYER_B;
    if (players[PLAYER_B].castleHealth < 1) return PLAYER_A;
    return -1;
}

void CastleRun::die(int player) {
    players[player].deaths += 1;
    respawn(player);
}

void CastleRun::onDeath(Craft& craft, DeathCause) {
    // A crash ends the step before afterGroundScan could hand back the
    // power-up slot that "power-ups off" blocked for the scan.
    if (!powerups) craft.powerup = POWERUP_NONE;
    die(playerOf(craft));
}

void CastleRun::onFinish(Craft& craft, int) {
    const int player = playerOf(craft);
    players[1 - player].castleHealth -= 1;
    playSound(1, SOUND_HURT);
    respawn(player);
}

bool CastleRun::goalApplies(const Craft& craft, int blockIndex) {
    if (!level.validIndex(blockIndex)) return false;
    const int opponentsGoal = playerOf(craft) == PLAYER_A ? castleGoalB : castleGoalA;
    return attackScores(craft.kind, level.blocks[size_t(blockIndex)].body, level.blocks[size_t(opponentsGoal)].body);
}

bool CastleRun::hurtApplies(const Craft& craft) { return players[playerOf(craft)].shieldTime == 0; }

void CastleRun::beforeGroundScan(Craft& craft, Level&) {
    CastlePlayer& side = players[playerOf(craft)];
    const bool wasInAir = craft.groundType < 0 && craft.groundType != BLOCK_NOJUMP;
    if (craft.powerup == POWERUP_AIR_JUMP && keyHeld(craft, controlKeys(playerOf(craft) == PLAYER_A ? 1 : 2).jump) &&
        wasInAir && craft.v_speed < 0) {
        craft.powerup = POWERUP_NONE;
        side.powerupsUsed += 1;
        jumpNow(craft);
    }
    // Nothing can be picked up while power-ups are off.
    if (!powerups) craft.powerup = POWERUPS_OFF;
}

void CastleRun::afterGroundScan(Craft& craft, Level&, int standingBlock) {
    if (!powerups) craft.powerup = POWERUP_NONE;
    if (standingBlock >= 0) placeArmed(playerOf(craft), standingBlock);
}

bool CastleRun::protectedBlock(int blockIndex) const {
    return level.blocks[size_t(blockIndex)].type == BLOCK_GOAL || blockIndex == 0 || blockIndex == farStartBlock;
}

void CastleRun::placeArmed(int player, int standingBlock) {
    CastlePlayer& side = players[player];
    Craft& craft = side.craft;
    const int armed = side.armed;
    if (armed != POWERUP_WALL && armed != POWERUP_ICE && armed != POWERUP_HURT) return;
    side.armed = POWERUP_NONE;
    if (protectedBlock(standingBlock)) {
        craft.powerup = armed;  // back to the hand
        return;
    }
    const Block& block = level.blocks[size_t(standingBlock)];  // its changed type is run-time state
    side.powerupsUsed += 1;
    playSound(ANY_CHANNEL, SOUND_PLACE);
    if (armed == POWERUP_WALL) {
        side.wall.x = craft.x;
        side.wall.y = block.body.y;
        side.wall.z = wrapped(int64_t(craft.z) - int64_t(craft.kind) * WALL_BEHIND);
        return;
    }
    const int newType = armed == POWERUP_ICE ? BLOCK_ICE : BLOCK_HURT;
    block.body.changedType = newType;
    block.body.changedTypeTime = CHANGED_BLOCK_STEPS;
    craft.groundType = newType;
}

void CastleRun::contacts(bool steppedA, bool steppedB) {
    if (steppedA) wallContact(PLAYER_A);
    if (steppedB) wallContact(PLAYER_B);
    craftContact();
    const int64_t reach = PUSH_REACH;
    if (craftDistanceSquared(players[0].craft, players[1].craft) < reach * reach) {
        push(PLAYER_A, PLAYER_B);
        push(PLAYER_B, PLAYER_A);
    }
}

void CastleRun::wallContact(int player) {
    const Craft& craft = players[player].craft;
    for (const CastlePlayer& owner : players) {
        const CastleWallPlace& wall = owner.wall;
        if (!wall.placed()) continue;
        const bool acrossX = std::llabs(int64_t(craft.x) - wall.x) <= WALL_HALF_WIDTH_REACH;
        const int64_t from = std::min(craft.prevZ, craft.z), to = std::max(craft.prevZ, craft.z);
        const bool crossed = craft.prevZ != craft.z && from <= wall.z && wall.z <= to;
        const bool withinHeight = int64_t(wall.y) - WALL_BELOW <= craft.ypos && craft.ypos <= int64_t(wall.y) + WALL_ABOVE;
        if (acrossX && crossed && withinHeight) {
            playSound(ANY_CHANNEL, SOUND_EXPLODE);
            die(player);
            return;
        }
    }
}

void CastleRun::craftContact() {
    Craft& a = players[PLAYER_A].craft;
    Craft& b = players[PLAYER_B].craft;
    const int64_t limit = CASTLE_CONTACT_DISTANCE;
    if (craftDistanceSquared(a, b) >= limit * limit || a.holdTimer > 0) return;
    a.holdTimer = b.holdTimer = CONTACT_HOLD_STEPS;
    a.v_speed = b.v_speed = 15;
    playSound(ANY_CHANNEL, SOUND_BUMP);
    const int32_t forwardA = a.f_speed, forwardB = b.f_speed;
    const int32_t halfA = wrapped(std::llabs(int64_t(forwardA)) / 2), halfB = wrapped(std::llabs(int64_t(forwardB)) / 2);
    if (int64_t(b.x) < int64_t(a.x) - SIDE_MARGIN) {
        b.s_speed = halfA;
        a.s_speed = halfB;
    } else if (int64_t(b.x) > int64_t(a.x) + SIDE_MARGIN) {
        b.s_speed = -halfA;
        a.s_speed = -halfB;
    } else {
        b.f_speed = wrapped(-int64_t(forwardA) / 2);
        a.f_speed = wrapped(-int64_t(forwardB) / 2);
        return;
    }
    b.f_speed = wrapped(-int64_t(forwardA) / 4);
    a.f_speed = wrapped(-int64_t(forwardB) / 4);
}

void CastleRun::push(int from, int to) {
    const CastlePlayer& pusher = players[from];
    CastlePlayer& target = players[to];
    if (pusher.pushTime <= 0 || target.shieldTime != 0) return;
    Craft& victim = target.craft;
    const Craft& source = pusher.craft;
    victim.v_speed = wrapped(int64_t(victim.v_speed) + 10);
    // The sideways push away from the pusher, seen in the victim's own
    // steering (craft B's is turned round by its kind).
    const int away = to == PLAYER_B ? 100 : -100;
    if (int64_t(victim.x) < int64_t(source.x) - PUSH_SIDE_MARGIN) victim.s_speed = away;
    else if (int64_t(victim.x) > int64_t(source.x) + PUSH_SIDE_MARGIN) victim.s_speed = -away;
    if (source.ypos < victim.ypos) victim.v_speed = wrapped(int64_t(victim.v_speed) + 10);
}
