#include "modes/single/single_run.h"

#include <algorithm>

#include "core/globals.h"
#include "frontend/console_print.h"
#include "level/level_file.h"
#include "sim/run_timer.h"
#include "sim/view_angle.h"

int SingleRun::loadLevel(const std::string& path) {
    // The loader refuses a level without blocks: the start would read block 0.
    return loadPlayLevel(path, level);
}

void SingleRun::start() {
    bannerIndex = BANNER_NONE;
    bannerTimer = 0;
    goalReached = false;
    craft.timeMs = craft.msPart = craft.seconds = craft.minutes = 0;
    craft.powerup = 0;
    craft.checkpoint = 0;
    craft.holdTimer = 0;
    craft.lives = SINGLE_START_LIVES;
    craft.viewAngle = 35.0f;
    checkpointZ.clear();
    deathRoutine();
    computer.clearDebugText();
    for (const Block& block : level.blocks)
        if (block.body.pointX != 0 && block.body.has(FLAG_CHECKPOINT)) checkpointZ.push_back(block.body.pointY);
    backgroundIndex = (level.blockCount() + int(checkpointZ.size())) % 4;
}

void SingleRun::deathRoutine() {
    computer.removeAll();
    if (craft.lives > 0) craft.lives -= 1;
    if (craft.checkpoint == 0 || craft.lives == 0) {
        craft.checkpoint = 0;
        craft.lives = 6;
        craft.timeMs = craft.msPart = craft.seconds = craft.minutes = 0;
    }
    // Clears the craft (phase 0: the clock waits for the next key), places
    // it, snaps the view and resets the level's motions.
    resetCraft(craft, level, craft.checkpoint, singlePlayerViewRules());
    animationTicks = 0;
    if (drivingKeyHeld(craft, controlKeys(2))) startTimer();
}

void SingleRun::pressJump() {
    if (craft.groundType >= 0 && craft.groundType != BLOCK_NOJUMP) jumpNow(craft);
}

void SingleRun::startTimer() {
    if (craft.phase == 0) craft.phase = 1;
}

StepOutcome SingleRun::step() {
    if (craft.phase == 1) {
        animationTicks = 0;
        craft.phase = 2;
    } else if (craft.phase == 2) {
        animationTicks += 1;
        advanceLevel(level);
    }
    const PlayRules rules = singlePlayerRules(*this);
    StepOutcome outcome = physicsStep(craft, level, rules);
    if (outcome != StepOutcome::Completed) return outcome;
    addStepTime(craft);
    scanItems(craft, level, *this);
    // Pusher, then bonus craft, then the pong game.
    computer.stepPusher(craft, level);
    computer.stepBonus(craft, level);
    lastPong = computer.pong.step(craft, level, rules.keys, *this);
    if (lastPong == PongOutcome::Won || lastPong == PongOutcome::Lost) {
        bannerIndex = lastPong == PongOutcome::Won ? BANNER_PONG_WON : BANNER_PONG_LOST;
        bannerTimer = BANNER_STEPS;
    }
    if (bannerTimer > 0) bannerTimer -= 1;
    if (craft.holdTimer > 0) craft.holdTimer -= 1;
    return outcome;
}

float SingleRun::levelFraction(int32_t z) const {
    if (level.blocks.empty()) return 0.0f;
    const BlockBody& first = level.blocks.front().body;
    const BlockBody& last = level.blocks.back().body;
    const double span = double(last.z) + double(last.length) - double(first.z);
    if (span <= 0) return 0.0f;  // a level that is all one z: no way to measure
    return float((double(z) - double(first.z)) / span);
}

float SingleRun::progressFraction() const {
    float f = levelFraction(craft.z);
    return f < 0 ? 0.0f : (f > 1 ? 1.0f : f);
}

float SingleRun::checkpointFraction(size_t i) const {
    return i < checkpointZ.size() ? levelFraction(checkpointZ[i]) : 0.0f;
}

int SingleRun::courtAhead() const {
    if (computer.pong.running()) return -1;
    const int64_t reach = std::max<int64_t>(COURT_NOTICE_MIN_DISTANCE, int64_t(craft.f_speed) * COURT_NOTICE_STEPS);
    for (const Block& block : level.blocks) {
        const BlockBody& body = block.body;
        if (body.pointX == 0 || !body.has(FLAG_PONG)) continue;
        const BlockCorner at = blockCorner(body);
        const int64_t ahead = int64_t(at.z) - craft.z;
        const bool inLane = craft.x <= int64_t(at.x) && craft.x >= int64_t(at.x) - body.width;
        if (inLane && ahead > 0 && ahead <= reach) return courtDifficulty(body);
    }
    return -1;
}

void SingleRun::onDeath(Craft& dead, DeathCause cause) {
    if (cause != DeathCause::Health) consolePrint(diedMessage(dead, false).c_str());
    deathRoutine();
}

void SingleRun::onFinish(Craft&, int) { goalReached = true; }

void SingleRun::onPongStart(Craft&, Level& onLevel, int blockIndex) {
    if (!onLevel.validIndex(blockIndex)) return;
    computer.pong.start(onLevel, blockIndex);
    const int difficulty = computer.pong.difficulty();
    bannerIndex = difficulty == 0 ? BANNER_PONG_EASY : (difficulty == 1 ? BANNER_PONG_MEDIUM : BANNER_PONG_HARD);
    bannerTimer = BANNER_STEPS;
}

void SingleRun::onCheckpoint(Craft&, int) {
    bannerIndex = BANNER_CHECKPOINT;
    bannerTimer = BANNER_STEPS;
}

void SingleRun::onBonusSpawnPoint(Level& onLevel, int blockIndex) { computer.onBonusSpawnPoint(onLevel, blockIndex); }

void SingleRun::onPusherSpawnPoint(Level& onLevel, int blockIndex) { computer.onPusherSpawnPoint(onLevel, blockIndex); }

void SingleRun::onPongLost(Craft&) {
    if (craft.lives == 1) {
        deathRoutine();
    } else {
        craft.lives -= 1;
    }
}
