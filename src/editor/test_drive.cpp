#include "editor/test_drive.h"

#include <SDL2/SDL_keycode.h>

#include "core/globals.h"
#include "core/held_keys.h"
#include "core/services.h"
#include "core/settings.h"
#include "level/level_file.h"

namespace {

// Sorting can take long on a big unsorted level: each caller sorts once.
Level sortedAsSaved(Level level) {
    sortBlocksByZ(level.blocks.editAll());
    return level;
}

std::vector<uint8_t> bytesWithoutMedals(Level level) {
    level.goldTime = level.silverTime = level.bronzeTime = 0;
    return levelBytes(level);
}

}  // namespace

std::vector<uint8_t> trackBytesOf(const Level& level) { return bytesWithoutMedals(sortedAsSaved(level)); }

bool provesLevel(const Level& level, const std::vector<HeldKeys>& keys) {
    SoundMixer* mixer = soundMixer();
    setSoundMixer(nullptr);
    TestDrive check;
    bool proved = check.start(level);
    if (proved) {
        HeldKeys before;
        size_t step = 0;
        while (step < keys.size() && !check.run.goalReached &&
               check.run.stepHolding(keys[step], before) != StepOutcome::Died)
            before = keys[step++];
        proved = check.run.goalReached;
    }
    check.stop();
    setSoundMixer(mixer);
    return proved;
}

bool TestDrive::start(const Level& edited) {
    if (edited.blocks.empty()) return false;
    const Level saved = sortedAsSaved(edited);
    levelBytes_ = levelBytes(saved);
    trackBytes_ = bytesWithoutMedals(saved);
    // Keys already down (the player's finger on forward) drive at once.
    held_ = pressedSinceStep_ = HeldKeys();
    for (int code : keysDown())
        if (bool* key = keyFor(held_, code)) *key = true;
    accumulator_ = StepAccumulator();
    goalTimeMs_ = 0;
    editorAnimationTicks_ = animationTicks;
    active_ = true;
    restart();
    return true;
}

void TestDrive::stop() {
    if (active_) animationTicks = editorAnimationTicks_;
    active_ = false;
}

// A fresh read of the saved bytes, as the level check starts its replay:
// blocks that a trigger moved or changed in the attempt before stand where
// the file puts them.
void TestDrive::restart() {
    Level fresh;
    readLevel(levelBytes_, fresh);
    run.driveLevel(std::move(fresh));
    run.reset();
    keys_.clear();
    before_ = HeldKeys();
}

bool* TestDrive::keyFor(HeldKeys& keys, int sym) const {
    const ControlKeys bound = controlKeys(2);
    if (sym == bound.forward) return &keys.forward;
    if (sym == bound.backward) return &keys.backward;
    if (sym == bound.left) return &keys.left;
    if (sym == bound.right) return &keys.right;
    if (sym == bound.jump) return &keys.jump;
    return nullptr;
}

TestDrive::Outcome TestDrive::keyDown(int sym) {
    if (sym == SDLK_ESCAPE) {
        stop();
        return Outcome::Left;
    }
    if (sym == settings.keys[KEY_RESET2]) restart();
    if (bool* key = keyFor(held_, sym)) *key = true;
    if (bool* key = keyFor(pressedSinceStep_, sym)) *key = true;
    return Outcome::Driving;
}

void TestDrive::keyUp(int sym) {
    if (bool* key = keyFor(held_, sym)) *key = false;
}

TestDrive::Outcome TestDrive::update(int elapsedMs) {
    if (!active_) return Outcome::Left;
    addFrameTime(accumulator_, elapsedMs);
    runDueSteps(accumulator_, [this] { step(); }, [this] { return !active_; });
    return active_ ? Outcome::Driving : Outcome::ReachedGoal;
}

void TestDrive::step() {
    const HeldKeys& p = pressedSinceStep_;
    HeldKeys keys = held_;
    keys.forward |= p.forward;
    keys.backward |= p.backward;
    keys.left |= p.left;
    keys.right |= p.right;
    keys.jump |= p.jump;
    pressedSinceStep_ = HeldKeys();
    keys_.push_back(keys);
    const StepOutcome outcome = run.stepHolding(keys, before_);
    before_ = keys;
    if (run.goalReached) {
        goalTimeMs_ = run.craft.timeMs;
        stop();
    } else if (outcome == StepOutcome::Died) {
        restart();
    }
}
