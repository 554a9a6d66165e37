#include "support/computer_play.h"

void ComputerPlay::Hooks::onDeath(Craft& craft, DeathCause cause) {
    computer_.removeAll();
    RecordingHooks::onDeath(craft, cause);
}

void ComputerPlay::Hooks::onPongStart(Craft& craft, Level& level, int blockIndex) {
    RecordingHooks::onPongStart(craft, level, blockIndex);
    computer_.pong.start(level, blockIndex);
}

void ComputerPlay::load(const std::string& text) {
    TextLevelPlay::load(text);
    computer.removeAll();
    craft.lives = 6;
}

void ComputerPlay::onPongLost(Craft& player) {
    ++pongLosses;
    if (player.lives == 1)
        singleHooks.onDeath(player, DeathCause::Fall);
    else
        player.lives -= 1;
}

void ComputerPlay::step() {
    if (craft.phase == 1) craft.phase = 2;
    if (craft.phase == 2) advanceLevel(level);
    if (physicsStep(craft, level, singleRules) != StepOutcome::Completed) return;
    scanItems(craft, level, *this);
    computer.step(craft, level, singleRules.keys, *this);
    if (craft.holdTimer > 0) --craft.holdTimer;
}

void ComputerPlay::place(Craft& target, int32_t x, int32_t ypos, int32_t z) {
    target.x = target.prevX = x;
    target.ypos = target.prevY = ypos;
    target.z = target.prevZ = z;
    target.f_speed = target.s_speed = target.v_speed = 0;
}
