#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "level/level.h"
#include "sim/computer_craft.h"
#include "sim/craft.h"
#include "sim/physics.h"
#include "sim/pong.h"
#include "sim/track.h"

// Banner messages: the checkpoint gate, a pong game starting on an easy,
// medium or hard court, and how the game ended.
enum SingleBanner : int {
    BANNER_NONE = -1,
    BANNER_CHECKPOINT = 0,
    BANNER_PONG_EASY = 1,
    BANNER_PONG_MEDIUM = 2,
    BANNER_PONG_HARD = 3,
    BANNER_PONG_WON = 4,   // the ball got past the far paddle
    BANNER_PONG_LOST = 5   // the ball got past the craft
};
constexpr int BANNER_STEPS = 150;
constexpr int COURT_NOTICE_STEPS = 95;            // about two seconds of 21 ms steps
constexpr int32_t COURT_NOTICE_MIN_DISTANCE = 3000;  // a slow craft reads it too
constexpr int SINGLE_START_LIVES = 7;  // the first death routine leaves 6

// One single-player level without a window: the level, the craft with its
// lives and checkpoints, the computer crafts and pong game, the death
// routine, the banner and the finish flag. The Single state feeds it keys
// and time and draws it; the campaign tests drive it step by step. A copy
// is a complete snapshot of the run (the recorder plays copies ahead).
class SingleRun : public PlayHooks, public ItemScanHooks, public PongHooks {
public:
    // -1 (and "Level not found." on standard error) when the level is
    // missing, damaged or has no blocks; the previous level then stays.
    int loadLevel(const std::string& path);
    bool hasLevel() const { return level.blockCount() > 0; }

    // A fresh run: lives 7 through the death routine, checkpoint gates,
    // background, banner off.
    void start();

    // Lives and checkpoints: before the first checkpoint a death only
    // restarts the clock; after one it costs a life and the clock runs on;
    // the last life restarts the level with 6 lives. The craft waits for
    // its first key unless a driving key is held down.
    void deathRoutine();

    // Key presses of the play state: the immediate jump, the run start.
    void pressJump();
    void startTimer();

    // One physics step with everything around it; a completed one adds its
    // time to the run clock. Died and Finished end it early (the
    // accumulator then keeps its milliseconds).
    StepOutcome step();

    // How far along the level the craft is, 0..1, and where checkpoint gate
    // `i` stands on the same scale (not clamped). 0 on a level whose blocks
    // all start and end at the same z.
    float progressFraction() const;
    float checkpointFraction(size_t i) const;
    int spareLives() const { return craft.lives - 1; }
    // The difficulty (0 easy .. 2 hard) of a pong court the craft reaches
    // in about two seconds at its speed (or is close to), so the player can
    // read the court before the serve; -1 when none lies ahead or a game
    // runs. Only a court in the craft's lane counts.
    int courtAhead() const;

    // PlayHooks and ItemScanHooks.
    void onDeath(Craft& craft, DeathCause cause) override;
    void onFinish(Craft& craft, int blockIndex) override;
    void onPongStart(Craft& craft, Level& level, int blockIndex) override;
    void onCheckpoint(Craft& craft, int ordinal) override;
    void onBonusSpawnPoint(Level& level, int blockIndex) override;
    void onPusherSpawnPoint(Level& level, int blockIndex) override;
    // A ball that got past the craft: one life, or the death routine on the last.
    void onPongLost(Craft& craft) override;

    Level level;
    Craft craft;
    ComputerCrafts computer;  // pusher, bonus craft and pong game
    PongOutcome lastPong = PongOutcome::NotRunning;  // of the latest step
    std::vector<int32_t> checkpointZ;  // gate z of each checkpoint, level order
    int bannerIndex = BANNER_NONE;
    int bannerTimer = 0;
    int backgroundIndex = 0;  // 0..3
    bool goalReached = false;

private:
    float levelFraction(int32_t z) const;
};
