#include <gtest/gtest.h>

#include <fstream>

#include "frontend/console_history.h"
#include "level/level_file.h"
#include "modes/single/single_run.h"
#include "sim/physics.h"
#include "sim/run_timer.h"
#include "sim/view_angle.h"
#include "support/single_replay.h"
#include "support/sim_fixtures.h"
#include "support/sim_levels.h"
#include "support/temp_dir.h"

namespace {

// A long straight start, then three blocks each carrying a checkpoint gate,
// then a drop into nothing and, far beyond, the goal.
const char* const GATES =
    "block plain pos=600,0,0 size=1200,500,6000\n"
    "block plain pos=600,0,6000 size=1200,500,4000 point=600,7000,0 flags=CHECKPOINT\n"
    "block plain pos=600,0,10000 size=1200,500,4000 point=600,11000,0 flags=CHECKPOINT\n"
    "block plain pos=600,0,14000 size=1200,500,4000 point=600,15000,0 flags=CHECKPOINT\n"
    "block GOAL pos=600,0,60000 size=1200,500,2000\n";

class SingleLevel : public ::testing::Test {
protected:
    void SetUp() override {
        setProjectionSetter(nullptr);
        consoleHistory.clear();
    }
    void load(const std::string& text) {
        run.level = levelFromText(text);
        run.start();
    }
    void steps(int count, HeldKeys held = {}) {
        for (int i = 0; i < count; ++i) {
            holdKeys(run, held, previous);
            previous = held;
            run.step();
        }
    }
    // Drives forward until the craft has passed z (or gives up).
    void driveTo(int z) {
        HeldKeys forward;
        forward.forward = true;
        for (int i = 0; i < 400 && run.craft.z < z; ++i) steps(1, forward);
    }
    // Puts the craft on the n-th gate as a death there would, with the clock
    // showing some time.
    void runningWithClock() {
        run.startTimer();
        addRunTime(run.craft, 900);
        addRunTime(run.craft, 900);
    }

    SimServices services;
    SingleRun run;
    HeldKeys previous;
};

TEST_F(SingleLevel, DeathBeforeAnyCheckpointOnlyRestartsTheClock) {
    load(GATES);
    EXPECT_EQ(run.craft.lives, 6) << "the start's death routine leaves six";
    EXPECT_EQ(run.spareLives(), 5);
    runningWithClock();
    driveTo(3000);
    run.deathRoutine();
    EXPECT_EQ(run.craft.lives, 6);
    EXPECT_EQ(run.craft.timeMs, 0);
    EXPECT_EQ(run.craft.seconds, 0);
    EXPECT_EQ(run.craft.phase, 0) << "the clock waits for the next key";
    EXPECT_LT(run.craft.z, 1000);
}

TEST_F(SingleLevel, AfterACheckpointDeathsCostLivesUntilTheLastRestartsTheLevel) {
    load(GATES);
    driveTo(7200);
    ASSERT_EQ(run.craft.checkpoint, 1);
    EXPECT_EQ(run.bannerIndex, BANNER_CHECKPOINT);
    EXPECT_GT(run.bannerTimer, BANNER_STEPS - 10);
    EXPECT_LT(run.bannerTimer, BANNER_STEPS) << "counted down in the step that set it";
    runningWithClock();
    const int clock = run.craft.timeMs;
    ASSERT_GT(clock, 0);

    run.deathRoutine();
    EXPECT_EQ(run.craft.lives, 5);
    EXPECT_EQ(run.craft.timeMs, clock) << "the clock runs on after a checkpoint";
    EXPECT_EQ(run.craft.z, 7000) << "back at the gate";
    for (int lives = 4; lives >= 1; --lives) {
        run.deathRoutine();
        EXPECT_EQ(run.craft.lives, lives);
    }
    // One life left, no diamonds: the next death starts the level over.
    run.deathRoutine();
    EXPECT_EQ(run.craft.lives, 6);
    EXPECT_EQ(run.craft.checkpoint, 0);
    EXPECT_EQ(run.craft.timeMs, 0);
    EXPECT_LT(run.craft.z, 1000);
}

TEST_F(SingleLevel, APassedLaterGateCountsWithoutTheOnesBefore) {
    load(GATES);
    run.craft.checkpoint = 3;  // as after crossing the third gate only
    run.deathRoutine();
    EXPECT_EQ(run.craft.z, 15000);
    run.craft.checkpoint = 0;
    load(GATES);
    run.craft.x = 5000;  // beside the first two gates: they do not count
    run.craft.z = 11500;
    run.craft.prevZ = 11500;
    scanItems(run.craft, run.level, run);
    EXPECT_EQ(run.craft.checkpoint, 0);
    run.craft.x = 0;
    run.craft.z = 15100;
    scanItems(run.craft, run.level, run);
    EXPECT_EQ(run.craft.checkpoint, 3);
}

TEST_F(SingleLevel, FallingPrintsTheTimeAndTheGoalEndsTheRun) {
    load("block plain pos=600,0,0 size=1200,500,2000\n");
    HeldKeys forward;
    forward.forward = true;
    steps(3, forward);
    for (int i = 0; i < 61; ++i) addRunTime(run.craft, 1000);
    addRunTime(run.craft, -run.craft.timeMs % 1000);
    run.craft.v_speed = FALL_SPEED - 1;
    steps(1, forward);
    ASSERT_GE(consoleHistory.lineCount(), 1);
    EXPECT_STREQ(consoleHistory.line(0), "Died after 1:01:00") << "minutes unpadded in single player";

    startReplayServices();
    load("block plain pos=600,0,0 size=1200,500,3000\nblock GOAL pos=600,0,3000 size=1200,500,2000\n");
    ReplayResult result = replayRecording(run, std::vector<HeldKeys>(200, forward));
    EXPECT_TRUE(result.finished);
    EXPECT_EQ(result.deaths, 0);
    EXPECT_NEAR(run.craft.timeMs, result.steps * STEP_MS, STEP_MS) << "the time of the steps from the first key on";
}

TEST_F(SingleLevel, ALongFrameCarriesOneSecondAtATime) {
    load(GATES);
    run.startTimer();
    addRunTime(run.craft, 1500);
    EXPECT_EQ(run.craft.timeMs, 1500);
    EXPECT_EQ(run.craft.seconds, 1);
    EXPECT_EQ(run.craft.msPart, 500);
    run.craft.msPart = 1400;
    addRunTime(run.craft, 100);
    EXPECT_EQ(run.craft.msPart, 500);
    EXPECT_EQ(run.craft.seconds, 2);
}

TEST_F(SingleLevel, StatusBarFractionsAndBackground) {
    load(GATES);
    EXPECT_EQ(run.checkpointZ, (std::vector<int32_t>{7000, 11000, 15000}));
    EXPECT_EQ(run.backgroundIndex, (5 + 3) % 4);
    EXPECT_NEAR(run.checkpointFraction(0), 7000.0 / 62000.0, 1e-6);
    run.craft.z = 31000;
    EXPECT_NEAR(run.progressFraction(), 0.5, 1e-6);
    run.craft.z = -4000;
    EXPECT_EQ(run.progressFraction(), 0.0f);

    // Every block starts and ends at the same z: no division by zero.
    load("block plain pos=600,0,0 size=1200,500,0 point=600,0,0 flags=CHECKPOINT\n");
    EXPECT_EQ(run.progressFraction(), 0.0f);
    EXPECT_EQ(run.checkpointFraction(0), 0.0f);
}

TEST_F(SingleLevel, EmptyOrMissingLevelIsRefused) {
    TempDir temp("tavrelo-single");
    ASSERT_TRUE(temp.ok());
    Level empty;
    ASSERT_EQ(writeLevelFile(temp.file("s-empty.slv"), empty), 0);
    load(GATES);
    testing::internal::CaptureStderr();
    EXPECT_EQ(run.loadLevel(temp.file("s-empty.slv")), -1);
    EXPECT_EQ(run.loadLevel(temp.file("s-none.slv")), -1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Level not found.\nLevel not found.\n");
    EXPECT_EQ(run.level.blockCount(), 5) << "the previous level stays";
}

// A lane, a gap, and a medium court one step below it.
const char* const COURT =
    "block plain pos=600,0,0 size=1200,500,4000\n"
    "block plain pos=1800,-100,4400 size=3600,400,9000 point=50,13000,1 flags=PONG\n"
    "block GOAL pos=600,-100,13400 size=1200,500,2000\n";

TEST_F(SingleLevel, PongGamesAreAnnouncedAndALostBallCostsALife) {
    load(COURT);
    HeldKeys forward;
    forward.forward = true;
    for (int i = 0; i < 200 && !run.computer.pong.running(); ++i) steps(1, forward);
    ASSERT_TRUE(run.computer.pong.running()) << "flying onto the court starts a game";
    EXPECT_EQ(run.craft.holdTimer, HOLD_BY_PONG);
    EXPECT_EQ(run.bannerIndex, BANNER_PONG_MEDIUM);

    // The ball is about to pass the craft.
    PongBall ball = run.computer.pong.ball();
    ball.x = run.craft.x + 2000;
    ball.z = run.craft.z - 100;
    ball.vz = -200;
    for (auto& trail : ball.trail) {
        trail[0] = ball.x;
        trail[2] = ball.z + 200;
    }
    run.computer.pong.setBall(ball, run.computer.pong.computerPaddleX());
    steps(1);
    EXPECT_EQ(run.lastPong, PongOutcome::Lost);
    EXPECT_EQ(run.craft.lives, 5);
    EXPECT_EQ(run.bannerIndex, BANNER_PONG_LOST);
    EXPECT_EQ(run.craft.holdTimer, HOLD_PONG_RELEASED) << "the craft may drive on";

    // On the last life a lost ball is the death routine: the level restarts.
    load(COURT);
    for (int i = 0; i < 200 && !run.computer.pong.running(); ++i) steps(1, forward);
    ASSERT_TRUE(run.computer.pong.running());
    run.craft.lives = 1;
    ball = run.computer.pong.ball();
    ball.x = run.craft.x + 2000;
    ball.z = run.craft.z - 100;
    ball.vz = -200;
    run.computer.pong.setBall(ball, run.computer.pong.computerPaddleX());
    steps(1);
    EXPECT_EQ(run.craft.lives, 6);
    EXPECT_LT(run.craft.z, 1000);
    EXPECT_FALSE(run.computer.pong.running());
}

// Driven at full speed down a long lane, the craft sees the court's notice
// for about two seconds before the serve, and not while the game runs.
TEST_F(SingleLevel, ACourtIsAnnouncedAboutTwoSecondsBeforeTheServe) {
    load("block plain pos=600,0,0 size=1200,500,60000\n"
         "block plain pos=1800,-100,60400 size=3600,400,9000 point=50,69000,2 flags=PONG\n");
    EXPECT_EQ(run.courtAhead(), -1) << "far away";
    HeldKeys forward;
    forward.forward = true;
    int announced = 0;
    for (int i = 0; i < 600 && !run.computer.pong.running(); ++i) {
        steps(1, forward);
        if (run.courtAhead() == 2) ++announced;
    }
    ASSERT_TRUE(run.computer.pong.running());
    EXPECT_TRUE(announced * 21 > 1500 && announced * 21 < 3000) << announced << " steps of notice";
    EXPECT_EQ(run.courtAhead(), -1) << "the game itself is under way";
}

TEST_F(SingleLevel, CaughtBonusCraftGivesALifeAndADeathRemovesIt) {
    load("block plain pos=1200,0,0 size=2400,500,40000 point=100,600,0 flags=BONUS\n");
    SimServices::ticks = 1001;  // no catch cooldown starts on this tick
    run.computer.spawn(CRAFT_KIND_BONUS, run.level, 0);
    ASSERT_TRUE(run.computer.bonusActive);
    steps(1);
    EXPECT_FALSE(run.computer.bonusActive) << "caught within 500";
    EXPECT_EQ(run.craft.lives, 7);
    EXPECT_EQ(run.spareLives(), 6);

    run.computer.spawn(CRAFT_KIND_BONUS, run.level, 0);
    run.deathRoutine();
    EXPECT_FALSE(run.computer.anyActive());
}

// The debug overlay's jump-rule label lives until the run starts again.
TEST_F(SingleLevel, TheRunsStartClearsTheJumpRuleLabel) {
    load("block plain pos=2000,0,0 size=4000,500,2000\n"
         "block plain pos=2000,0,2000 size=4000,500,20000 point=10,3000,0 flags=PUSHER\n"
         "block plain pos=2000,-2000,25000 size=4000,500,80000\n"
         "block plain pos=2000,-2000,105000 size=4000,500,80000\n");
    run.craft.z = 60000;
    run.craft.f_speed = 300;
    run.computer.onPusherSpawnPoint(run.level, 1);
    for (int i = 0; i < 400 && run.computer.debugText().empty(); ++i) run.computer.stepPusher(run.craft, run.level);
    ASSERT_FALSE(run.computer.debugText().empty());
    run.deathRoutine();
    EXPECT_FALSE(run.computer.debugText().empty()) << "a death removes the crafts, not the label";
    run.start();
    EXPECT_EQ(run.computer.debugText(), "");
}

TEST_F(SingleLevel, JumpKeyJumpsAtOnceExceptOnNoJumpBlocks) {
    load(GATES);
    steps(1);
    run.pressJump();
    EXPECT_EQ(run.craft.v_speed, 125);
    EXPECT_EQ(run.craft.phase, 0) << "a jump does not start the clock";
    load("block NOJUMP pos=600,0,0 size=1200,500,3000\n");
    steps(1);
    run.pressJump();
    EXPECT_EQ(run.craft.v_speed, 0);
}

}  // namespace
