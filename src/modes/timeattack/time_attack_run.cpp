#include "modes/timeattack/time_attack_run.h"

#include <cstdio>

#include "core/globals.h"
#include "frontend/console_print.h"
#include "level/level_file.h"
#include "modes/timeattack/ghost.h"
#include "sim/run_timer.h"
#include "sim/track.h"
#include "sim/view_angle.h"

int TimeAttackRun::loadLevel(const std::string& path) {
    levelPath = path;
    if (loadPlayLevel(path, level) != 0) {
        releaseLevel();
        return -1;
    }
    loadGhostOfRecord(ghost, levelPath, recordTimeMs);
    return 0;
}

void TimeAttackRun::releaseLevel() {
    level = Level();
    releaseGhost(ghost);
}

void TimeAttackRun::reset() {
    goalReached = false;
    clearCraftForRun(craft, CRAFT_KIND_PLAYER);
    craft.powerup = 0;
    craft.checkpoint = 0;
    craft.timeMs = craft.msPart = craft.seconds = craft.minutes = 0;
    // Start block, forced view angle 35, camera and the level's motions.
    resetCraft(craft, level, 0, timeAttackViewRules());
    if (drivingKeyHeld(craft, controlKeys(2))) startTimer();
    animationTicks = 0;
    // A record saved a moment ago is the ghost of the very next run.
    loadGhostOfRecord(ghost, levelPath, recordTimeMs);
    startRecording(ghost, craft);
    ghost.stepCounter = 0;
}

void TimeAttackRun::pressJump() {
    if (craft.groundType >= 0 && craft.groundType != BLOCK_NOJUMP) jumpNow(craft);
}

void TimeAttackRun::startTimer() {
    if (craft.phase == 0) craft.phase = 1;
}

StepOutcome TimeAttackRun::step() {
    // Waiting steps are not counted, so the first sample of a run is always
    // six steps into it and the replay never reaches past sample 1.
    if (craft.phase != 0) ghost.stepCounter += 1;
    if (craft.phase == 1) {
        craft.phase = 2;
        animationTicks = 0;
        craft.timeMs = craft.msPart = craft.seconds = craft.minutes = 0;
        ghost.stepCounter = 0;
    } else if (craft.phase == 2) {
        animationTicks += 1;
        advanceLevel(level);
    }
    StepOutcome outcome = physicsStep(craft, level, timeAttackRules(*this));
    if (outcome != StepOutcome::Completed) return outcome;
    addStepTime(craft);
    recordAndReplay(ghost, craft, craft.phase);
    return outcome;
}

void TimeAttackRun::onDeath(Craft& dead, DeathCause cause) {
    if (cause != DeathCause::Health) consolePrint(diedMessage(dead, true).c_str());
    reset();
}

void TimeAttackRun::onFinish(Craft& finisher, int) {
    if (isNewRecord(finisher.timeMs, recordTimeMs)) finisher.finished = true;
    goalReached = true;
}
