#pragma once

#include <cstdint>
#include <string>

#include "level/level.h"
#include "modes/timeattack/records.h"
#include "sim/craft.h"
#include "sim/physics.h"

// One time-attack run without a window: the level, the craft, the reset,
// the physics step with this mode's differences and the ghost beside it.
// The TimeAttack state draws it and feeds it keys and time; the level tests
// drive it directly.
class TimeAttackRun : public PlayHooks {
public:
    // Reads the level and its medal times, then its ghost. -1 (and "Level
    // not found." on standard error) when it cannot be read; the previous
    // level is then released, so a failed load never drives a stale track.
    int loadLevel(const std::string& path);
    void releaseLevel();
    bool hasLevel() const { return level.blockCount() > 0; }

    // Back to the start block, timer stopped, ghost reloaded and the
    // recording restarted. A driving key held down starts the run at once.
    void reset();

    // Key presses of the play state: the immediate jump, the run start.
    void pressJump();
    void startTimer();

    // One physics step; a completed one adds its time to the run clock.
    // Died and Finished end the step early.
    StepOutcome step();

    // PlayHooks: every death restarts the run; the goal ends it.
    void onDeath(Craft& craft, DeathCause cause) override;
    void onFinish(Craft& craft, int blockIndex) override;

    Level level;
    Craft craft;
    std::string levelPath;                 // "maps/" + file name
    uint32_t recordTimeMs = NO_RECORD_TIME;  // of the level, for the new-record test
    bool goalReached = false;              // set by the step that reached a goal
};
