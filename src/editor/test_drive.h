#pragma once

#include <cstdint>
#include <vector>

#include "level/level.h"
#include "level/proof_file.h"
#include "modes/timeattack/time_attack_run.h"
#include "sim/physics.h"

// The editor's test-drive: the level being edited, driven from its start
// block by the time-attack rules, without a window. It drives the level as
// a save would store it (blocks sorted by z), and every attempt starts from
// that level as freshly read, so the keys of an attempt that reaches the
// goal are a proof the level check replays step for step. The keys reach
// the craft once per physics step (holdKeys): a key pressed and let go
// between two steps still counts for the next one.
class TestDrive {
public:
    enum class Outcome { Driving, Left, ReachedGoal };

    // False (nothing starts) for a level without blocks.
    bool start(const Level& edited);
    bool active() const { return active_; }
    // Ends the drive; the animation counter the drive stepped is the
    // editor's again, so its blocks look as they did.
    void stop();

    // SDL key codes. Escape leaves; the reset key starts a new attempt.
    Outcome keyDown(int sym);
    void keyUp(int sym);
    Outcome update(int elapsedMs);

    // The attempt that reached the goal: its keys, one entry per step, and
    // its time on the run clock.
    const std::vector<HeldKeys>& keys() const { return keys_; }
    int32_t goalTimeMs() const { return goalTimeMs_; }
    // The driven level's bytes without its medal times: what a proof proves.
    const std::vector<uint8_t>& trackBytes() const { return trackBytes_; }

    TimeAttackRun run;

private:
    void restart();
    void step();
    // The control key a code is bound to, or null.
    bool* keyFor(HeldKeys& keys, int sym) const;

    bool active_ = false;
    int editorAnimationTicks_ = 0;
    std::vector<uint8_t> levelBytes_;  // as saved: every attempt reads these
    std::vector<uint8_t> trackBytes_;
    std::vector<HeldKeys> keys_;
    HeldKeys held_, pressedSinceStep_, before_;
    StepAccumulator accumulator_;
    int32_t goalTimeMs_ = 0;
};

// What a proof proves: the level's bytes as a save writes them (blocks
// sorted by z), medal times left out (they change no run).
std::vector<uint8_t> trackBytesOf(const Level& level);

// Whether `keys` drive the level, as saved, to its goal without a death,
// the way a test-drive or the level check drives it. Silent.
bool provesLevel(const Level& level, const std::vector<HeldKeys>& keys);
