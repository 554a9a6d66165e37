#include "modes/timeattack/record_replay.h"

#include <SDL2/SDL_keycode.h>

#include <algorithm>

#include "core/globals.h"
#include "core/wrapping.h"
#include "level/level_file.h"
#include "sim/track.h"
#include "sim/view_angle.h"

namespace {

void showClock(Craft& craft, int32_t ms) {
    craft.timeMs = ms;
    craft.minutes = ms / 60000;
    craft.seconds = (ms / 1000) % 60;
    craft.msPart = ms % 1000;
}

// The craft moves as the run did, the eye with it as the integration moves
// it, and the view widens with the speed as in play.
void moveTo(Craft& craft, const GhostSample& at) {
    craft.prevX = craft.x;
    craft.prevY = craft.ypos;
    craft.prevZ = craft.z;
    // A damaged ghost may jump from one end of the range to the other.
    craft.s_speed = wrapped(int64_t(at.x) - craft.x);
    craft.v_speed = wrapped(int64_t(at.y) - craft.ypos);
    craft.f_speed = wrapped(int64_t(at.z) - craft.z);
    craft.x = at.x;
    craft.ypos = at.y;
    craft.z = at.z;
    craft.camX = wrapped(int64_t(craft.camX) + craft.s_speed);
    craft.camY = wrapped(int64_t(craft.camY) + craft.v_speed);
    craft.camZ = wrapped(int64_t(craft.camZ) + craft.f_speed);
    updateViewAngle(craft, speedViewAngle(craft), false, timeAttackViewRules());
}

}  // namespace

bool RecordReplay::start(const RecordEntry& entry, const std::string& mapsDir) {
    active_ = false;
    const std::string path = mapsDir + "/" + entry.fileName;
    if (entry.recordTime >= NO_RECORD_TIME || loadPlayLevel(path, level) != 0) return false;
    loadGhostOfRecord(ghost, path, entry.recordTime);
    if (!ghost.loaded) return false;
    record = entry;
    resetCraft(craft, level, 0, timeAttackViewRules());
    craft.phase = 2;
    ghost.stepCounter = 0;
    ghost.position = ghost.previousPosition = ghost.samples[0];
    paused = fast = false;
    steps = 0;
    accumulator_ = StepAccumulator();
    showClock(craft, 0);
    active_ = true;
    return true;
}

void RecordReplay::keyDown(int sym) {
    switch (sym) {
        case SDLK_SPACE: paused = !paused; break;
        case SDLK_f: fast = !fast; break;
        case SDLK_ESCAPE:
            active_ = false;
            releaseGhost(ghost);
            level = Level();
            break;
        default: break;
    }
}

void RecordReplay::update(int elapsedMs) {
    if (!active_ || paused) return;
    addFrameTime(accumulator_, fast ? 2 * elapsedMs : elapsedMs);
    runDueSteps(accumulator_, [this] { step(); }, [this] { return atGoal(); });
}

void RecordReplay::step() {
    if (atGoal()) return;
    steps += 1;
    animationTicks += 1;
    advanceLevel(level);
    replayStep(ghost);
    moveTo(craft, ghost.position);
    showClock(craft, clockMs());
}

bool RecordReplay::atGoal() const { return size_t(ghost.sampleIndex) + 1 >= ghost.samples.size(); }

int32_t RecordReplay::clockMs() const {
    const int32_t record = int32_t(std::min<uint32_t>(this->record.recordTime, NO_RECORD_TIME));
    if (atGoal()) return record;
    return std::min(steps * STEP_MS, record);
}
