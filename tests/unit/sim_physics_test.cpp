// Scenario tests of the player's physics step on small text levels.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "core/key_table.h"
#include "core/services.h"
#include "sim/physics.h"
#include "support/sim_fixtures.h"
#include "support/sim_levels.h"

namespace {

class PhysicsStep : public TextLevelPlay {
protected:
    RecordingMixer& mixer() { return services.mixer; }
    void hold(int code) { setKeyHeld(craft, code, true); }
    void release(int code) { setKeyHeld(craft, code, false); }
    StepOutcome step() { return physicsStep(craft, level, rules); }
    // The play state's order: the level moves first, then the craft.
    StepOutcome stepWithLevel() {
        advanceLevel(level);
        return step();
    }
};

TEST_F(PhysicsStep, StraightTrackReachesTheGoalOnTheExpectedStep) {
    load("block plain pos=300,0,0 size=600,500,20000\n"
         "block GOAL pos=300,0,20000 size=600,500,1000\n");
    hold(keys.forward);
    int steps = 0;
    while (hooks.finishes == 0 && steps < 500) {
        ++steps;
        step();
    }
    // f_speed grows by 4 a step, so after n steps z = 500 + 2n(n+1); the goal
    // is reached when the craft's front (z + 155) passes 20000: after 98
    // integrations, on the 99th scan.
    EXPECT_EQ(steps, 99);
    EXPECT_EQ(hooks.finishBlock, 1);
    EXPECT_EQ(craft.z, 500 + 2 * 98 * 99);
    EXPECT_TRUE(hooks.deaths.empty());
}

TEST_F(PhysicsStep, SpeedLimitIsTestedBeforeAdding) {
    load("block plain pos=300,0,0 size=600,500,900000\n");
    craft.f_speed = 448;
    hold(keys.forward);
    step();
    EXPECT_EQ(craft.f_speed, 452);
    step();
    EXPECT_EQ(craft.f_speed, 452);
}

TEST_F(PhysicsStep, FallingCraftDiesAfter56AirborneSteps) {
    load("block plain pos=300,0,0 size=600,500,600\n");
    placeCraft(craft, 50000, 150, 500, 6000, 1800);  // beside the track, in the air
    for (int i = 0; i < 56; ++i) ASSERT_EQ(step(), StepOutcome::Completed) << "step " << i + 1;
    EXPECT_EQ(craft.v_speed, -448);
    EXPECT_EQ(step(), StepOutcome::Died);
    ASSERT_EQ(hooks.deaths.size(), 1u);
    EXPECT_EQ(hooks.deaths[0], DeathCause::Fall);
    EXPECT_TRUE(mixer().played(ANY_CHANNEL, SOUND_EXPLODE));
}

TEST_F(PhysicsStep, DrivingIntoABlockFrontIsACrash) {
    load("block plain pos=300,0,0 size=600,500,6000\n"
         "block plain pos=300,1000,3000 size=600,1000,600\n");
    hold(keys.forward);
    StepOutcome outcome = StepOutcome::Completed;
    for (int i = 0; i < 100 && outcome == StepOutcome::Completed; ++i) outcome = step();
    EXPECT_EQ(outcome, StepOutcome::Died);
    ASSERT_EQ(hooks.deaths.size(), 1u);
    EXPECT_EQ(hooks.deaths[0], DeathCause::Crash);
    EXPECT_EQ(mixer().count(SOUND_EXPLODE), 1);
    EXPECT_EQ(craft.z, 500);  // the hook put it back at the start
}

TEST_F(PhysicsStep, SinglePlayerCrashGoesOnWithThePlainGround) {
    rules = singlePlayerRules(hooks);
    load("block plain pos=300,0,0 size=600,500,6000\n"
         "block plain pos=300,1000,3000 size=600,1000,600\n");
    hold(keys.forward);
    while (hooks.deaths.empty()) ASSERT_EQ(step(), StepOutcome::Completed);
    EXPECT_EQ(craft.groundType, 0);
    EXPECT_EQ(craft.lastGroundType, 0);
}

TEST_F(PhysicsStep, LeansOnASideWallAndWallJumpsAway) {
    load("block plain pos=2000,0,0 size=4000,500,10000\n"
         "block plain pos=1000,1000,0 size=600,1000,10000\n");
    hold(keys.left);  // toward +x, where the wall stands
    for (int i = 0; i < 10; ++i) step();
    EXPECT_EQ(craft.groundType, GROUND_SIDE_LEFT);
    EXPECT_EQ(craft.x, 400 - 195);
    EXPECT_EQ(craft.s_speed, 0);
    EXPECT_EQ(craft.v_speed, 0);  // the floor, earlier in level order, cancels the side's sink
    EXPECT_TRUE(hooks.deaths.empty());

    hold(keys.jump);
    step();
    EXPECT_EQ(craft.s_speed, -WALL_JUMP_PUSH);
    EXPECT_EQ(craft.v_speed, JUMP_SPEED);
    EXPECT_EQ(craft.x, 205 - 95);
    EXPECT_TRUE(mixer().played(ANY_CHANNEL, SOUND_JUMP));
    EXPECT_GE(craft.effects[CRAFT_EFFECT_COUNT - 1].endTick, SimServices::ticks + 300);
    EXPECT_LE(craft.effects[CRAFT_EFFECT_COUNT - 1].endTick, SimServices::ticks + 900);
}

TEST_F(PhysicsStep, SideContactWithoutGroundSinks) {
    load("block plain pos=1000,1000,0 size=600,1000,10000\n");
    placeCraft(craft, 210, 500, 500, 6000, 1800);
    craft.prevX = 200;
    step();
    EXPECT_EQ(craft.groundType, GROUND_SIDE_LEFT);
    EXPECT_EQ(craft.v_speed, -3);  // leaning alone does not hold the craft up
}

TEST_F(PhysicsStep, MovingPlatformCarriesTheCraft) {
    load("block plain pos=300,0,0 size=600,500,3000 point=1300,0,0 flags=MOVE,START_TRIGGER period=1\n");
    int32_t startX = craft.x, startCamX = craft.camX;
    for (int i = 0; i < 30; ++i) ASSERT_EQ(stepWithLevel(), StepOutcome::Completed);
    int32_t moved = blockCorner(level.blocks[0].body).x - 300;
    EXPECT_GT(moved, 500);
    EXPECT_EQ(craft.x - startX, moved);
    EXPECT_EQ(craft.camX - startCamX, moved);
    EXPECT_EQ(craft.groundType, 0);
}

// A platform carries the craft along whichever axes it moves, camera and
// all, so the view stays with the craft.
TEST_F(PhysicsStep, MovingPlatformCarriesTheCraftAlongEachAxis) {
    struct Case {
        const char* name;
        const char* point;
    };
    const Case cases[] = {{"x", "1300,0,0"}, {"z", "300,0,2000"}, {"x and z", "1300,0,2000"}};
    for (const Case& c : cases) {
        load(std::string("block plain pos=300,0,0 size=600,500,3000 point=") + c.point +
             " flags=MOVE,START_TRIGGER period=1\n");
        const int32_t startX = craft.x, startZ = craft.z, startCamX = craft.camX, startCamZ = craft.camZ;
        for (int i = 0; i < 30; ++i) ASSERT_EQ(stepWithLevel(), StepOutcome::Completed) << c.name;
        const BlockCorner at = blockCorner(level.blocks[0].body);
        const int32_t movedX = at.x - 300, movedZ = at.z;
        EXPECT_GT(std::max(movedX, movedZ), 500) << c.name;
        EXPECT_EQ(craft.x - startX, movedX) << c.name;
        EXPECT_EQ(craft.z - startZ, movedZ) << c.name;
        EXPECT_EQ(craft.camX - startCamX, movedX) << c.name;
        EXPECT_EQ(craft.camZ - startCamZ, movedZ) << c.name;
        EXPECT_EQ(craft.groundType, BLOCK_PLAIN) << c.name;
    }
}

// In phase 0 the level stands still. A start-triggered platform has
// `moving` set but has not advanced: it has no "one step ago" to carry from.
TEST_F(PhysicsStep, APlatformThatHasNotMovedYetCarriesNobody) {
    load("block plain pos=300,0,0 size=600,500,3000 point=1300,0,2000 flags=MOVE,START_TRIGGER period=1\n");
    ASSERT_EQ(level.blocks[0].body.moving, -1);
    for (int i = 0; i < 60; ++i) ASSERT_EQ(step(), StepOutcome::Completed);
    EXPECT_EQ(craft.x, 0);
    EXPECT_EQ(craft.z, 500);
    EXPECT_EQ(craft.camX, 0);
    EXPECT_EQ(craft.groundType, BLOCK_PLAIN);
}

TEST_F(PhysicsStep, LandingHalvesSidewaysSpeedOnceAndIceKeepsIt) {
    load("block ICE pos=5000,0,0 size=10000,500,10000\n");
    placeCraft(craft, 0, 160, 500, 6000, 1800);
    craft.groundType = GROUND_AIRBORNE;
    craft.v_speed = -10;
    craft.s_speed = 121;
    step();
    EXPECT_EQ(craft.s_speed, 60);
    EXPECT_TRUE(mixer().played(2, SOUND_BUMP));
    for (int i = 0; i < 5; ++i) step();
    EXPECT_EQ(craft.s_speed, 60);  // ice keeps the momentum without keys
    EXPECT_EQ(craft.x, 60 * 6);
}

TEST_F(PhysicsStep, IceGivesWeakControl) {
    load("block ICE pos=5000,0,0 size=10000,500,100000\n");
    hold(keys.forward);
    step();
    EXPECT_EQ(craft.f_speed, 1);  // +4 on the ground, -3 on ice
    release(keys.forward);
    hold(keys.left);
    step();
    EXPECT_EQ(craft.s_speed, 8);  // from 0: +abs(1 / 55) then +8
    step();
    EXPECT_EQ(craft.s_speed, 23);  // now positive: +15
}

TEST_F(PhysicsStep, SteeringDependsOnSpeedAndBothKeysCancel) {
    load("block plain pos=300,0,0 size=600,500,900000\n");
    craft.f_speed = 300;
    hold(keys.left);
    step();
    EXPECT_EQ(craft.s_speed, 110);
    craft.f_speed = -100;
    step();
    EXPECT_EQ(craft.s_speed, 65);
    hold(keys.right);
    step();
    EXPECT_EQ(craft.s_speed, 0);
}

TEST_F(PhysicsStep, AirKeysOnlyLimitDriftTheOtherWay) {
    load("block plain pos=300,0,0 size=600,500,600\n");
    placeCraft(craft, 50000, 5000, 500, 6000, 1800);
    craft.s_speed = -200;
    hold(keys.left);
    hold(keys.right);
    step();
    EXPECT_EQ(craft.s_speed, -85);
    craft.s_speed = 0;
    step();
    EXPECT_EQ(craft.s_speed, 0);
}

TEST_F(PhysicsStep, StartDetectionIncludesBackward) {
    load("block plain pos=300,0,0 size=600,500,6000\n");
    step();
    EXPECT_EQ(craft.phase, 0);
    hold(keys.backward);
    step();
    EXPECT_EQ(craft.f_speed, -3);
    EXPECT_EQ(craft.phase, 1);
}

TEST_F(PhysicsStep, JumpRuleDiffersByMode) {
    load("block plain pos=300,0,0 size=600,500,6000\n");
    craft.v_speed = 100;  // still rising from a jump pad
    hold(keys.jump);
    step();
    EXPECT_EQ(craft.v_speed, 100);  // single player and time attack: only below 100
    resetCraft(craft, level, 0);
    craft.v_speed = 100;
    rules = raceRules(hooks, 2, 8);
    hold(keys.jump);
    step();
    EXPECT_EQ(craft.v_speed, JUMP_SPEED);
}

TEST_F(PhysicsStep, RaceGravityReplacesTheDefault) {
    rules = raceRules(hooks, 1, 5);
    load("block plain pos=300,0,0 size=600,500,600\n");
    placeCraft(craft, 50000, 5000, 500, 6000, 1800);
    step();
    EXPECT_EQ(craft.v_speed, -5);
}

// Castle attack: the craft's own castle goal is just ground to drive over.
class HomeGoalHooks : public RecordingHooks {
public:
    using RecordingHooks::RecordingHooks;
    bool goalApplies(const Craft&, int blockIndex) override { return blockIndex != homeGoal; }
    int homeGoal = 1;
};

TEST_F(PhysicsStep, AGoalTheModeDeclinesIsDrivenAcross) {
    HomeGoalHooks castleHooks{level};
    rules = castleRules(castleHooks, 2, 8);
    load("block plain pos=300,0,0 size=600,500,1000\n"
         "block GOAL pos=300,0,1000 size=600,500,3000\n"
         "block GOAL pos=300,0,4000 size=600,500,3000\n");
    craft.f_speed = 100;
    int stepsOnHomeGoal = 0;
    StepOutcome outcome = StepOutcome::Completed;
    while (outcome == StepOutcome::Completed && craft.z < 10000) {
        outcome = step();
        if (outcome == StepOutcome::Completed && craft.groundType == BLOCK_GOAL) ++stepsOnHomeGoal;
    }
    EXPECT_GT(stepsOnHomeGoal, 20);  // moved on step after step over the home goal
    EXPECT_EQ(outcome, StepOutcome::Finished);
    EXPECT_EQ(castleHooks.finishes, 1);
    EXPECT_EQ(castleHooks.finishBlock, 2);  // only the other castle's goal counts
}

TEST_F(PhysicsStep, CastleCraftBDrivesTowardMinusZ) {
    rules = castleRules(hooks, 2, 8);
    load("block plain pos=300,0,0 size=600,500,20000\n");
    craft.kind = -1;
    placeCraft(craft, 0, 150, 10000, -5000, 1500);
    hold(keys.forward);
    hold(keys.left);
    step();
    EXPECT_EQ(craft.z, 10000 - 4);
    EXPECT_EQ(craft.x, -41);  // steering 40 + abs(4 / 4), turned by the direction
}

// Single player: pong courts catch a craft hovering over them, and a craft
// held by a game steers only within its court.
class PongCourt : public PhysicsStep {
protected:
    void SetUp() override {
        rules = singlePlayerRules(hooks);
        // Block 1 is the court: x -300..300, pointX set, difficulty 1.
        load("block plain pos=300,0,0 size=600,500,1000\n"
             "block plain pos=300,0,1000 size=600,500,6000 point=1,6500,1 flags=PONG\n");
    }
};

TEST_F(PongCourt, StandingOnACourtMarksPowerup100OnlyWherePongIsPlayed) {
    placeCraft(craft, 0, 150, 3000, 6000, 1800);
    step();
    EXPECT_EQ(craft.powerup, 100);
    rules = timeAttackRules(hooks);
    craft.powerup = 0;
    step();
    EXPECT_EQ(craft.powerup, 0);
}

TEST_F(PongCourt, HoveringOverACourtStartsTheGameOnce) {
    placeCraft(craft, 0, 2000, 3000, 6000, 1800);  // high above, no contact
    craft.f_speed = 120;
    step();
    EXPECT_EQ(hooks.pongStarts, 1);
    EXPECT_EQ(craft.holdTimer, HOLD_BY_PONG);
    EXPECT_EQ(craft.f_speed, 0);
    EXPECT_EQ(craft.powerup, 100);
    step();
    EXPECT_EQ(hooks.pongStarts, 1);  // already held
    // Below the court's top nothing starts.
    resetCraft(craft, level, 0);
    placeCraft(craft, 0, -2000, 3000, 6000, 1800);
    step();
    EXPECT_EQ(hooks.pongStarts, 1);
    EXPECT_EQ(craft.holdTimer, 0);
}

TEST_F(PongCourt, AHeldCraftSteersAtPongSpeedInsideItsCourtAndCannotDrive) {
    placeCraft(craft, 0, 150, 3000, 6000, 1800);
    step();  // stands on the court: it is the block last touched
    craft.holdTimer = HOLD_BY_PONG;
    hold(keys.forward);
    hold(keys.left);
    for (int i = 0; i < 6; ++i) step();
    EXPECT_EQ(craft.f_speed, 0);
    EXPECT_EQ(craft.x, 285);  // 95 a step while x + 50 <= 300, then it stops
    release(keys.left);
    hold(keys.right);
    for (int i = 0; i < 12; ++i) step();
    EXPECT_EQ(craft.x, 285 - 6 * 95);  // -285: stops once -300 > x - 50
    EXPECT_EQ(craft.z, 3000);
}

TEST_F(PongCourt, AReleasedCraftGetsItsControlBackOffTheCourt) {
    placeCraft(craft, 0, 150, 500, 6000, 1800);  // plain block
    craft.holdTimer = HOLD_PONG_RELEASED;
    craft.powerup = 100;  // still over the court as the game let go
    step();
    EXPECT_EQ(craft.holdTimer, HOLD_PONG_RELEASED);
    EXPECT_EQ(craft.powerup, 0);
    step();
    EXPECT_EQ(craft.holdTimer, 0);
}

class BlockEffects : public PhysicsStep {
protected:
    void standOn(const char* type) {
        load(std::string("block ") + type + " pos=300,0,0 size=600,500,900000\n");
    }
};

TEST_F(BlockEffects, SpeedAndSlowPlayOnChannelTwo) {
    standOn("SPEED");
    step();
    EXPECT_EQ(craft.f_speed, 5);
    EXPECT_TRUE(mixer().played(2, SOUND_SPEEDUP));
    mixer().clear();
    mixer().busyChannels = {2};
    step();
    EXPECT_EQ(craft.f_speed, 10);  // the effect applies, the sound waits for its channel
    EXPECT_EQ(mixer().count(SOUND_SPEEDUP), 0);
}

TEST_F(BlockEffects, HurtCostsHealthAndKillsBelowOne) {
    standOn("HURT");
    craft.health = 7;
    EXPECT_EQ(step(), StepOutcome::Completed);
    EXPECT_EQ(craft.health, 4);
    EXPECT_TRUE(mixer().played(1, SOUND_HURT));
    EXPECT_EQ(step(), StepOutcome::Completed);
    EXPECT_EQ(step(), StepOutcome::Died);
    ASSERT_EQ(hooks.deaths.size(), 1u);
    EXPECT_EQ(hooks.deaths[0], DeathCause::Health);
}

TEST_F(BlockEffects, HealReaches101) {
    standOn("HEAL");
    craft.health = 97;
    step();
    step();
    EXPECT_EQ(craft.health, 101);
    step();
    EXPECT_EQ(craft.health, 101);
    EXPECT_EQ(mixer().count(SOUND_HEAL), 2);
    EXPECT_TRUE(mixer().played(1, SOUND_HEAL));
}

TEST_F(BlockEffects, JumpPadThrowsByForwardSpeed) {
    standOn("JUMP");
    craft.f_speed = 300;
    step();
    EXPECT_EQ(craft.v_speed, 157);
}

TEST_F(BlockEffects, NoJumpBlockIgnoresTheJumpKey) {
    standOn("NOJUMP");
    hold(keys.jump);
    step();
    EXPECT_EQ(craft.v_speed, 0);
}

TEST_F(BlockEffects, ContiguousCrazyBlocksFlipTheViewOnce) {
    load("block CRAZY pos=300,0,0 size=600,500,1000\n"
         "block CRAZY pos=300,0,1000 size=600,500,1000\n"
         "block plain pos=300,0,2000 size=600,500,1000\n"
         "block CRAZY pos=300,0,3000 size=600,500,1000\n"
         "block plain pos=300,0,4000 size=600,500,9000\n");
    craft.f_speed = 100;
    int flips = 0;
    int lastUp = craft.camUp[1];
    for (int i = 0; i < 50; ++i) {
        step();
        if (craft.camUp[1] != lastUp) ++flips;
        lastUp = craft.camUp[1];
    }
    EXPECT_EQ(flips, 2);  // once over the first pair, back over the third
    EXPECT_EQ(craft.camUp[1], 1);
}

TEST_F(BlockEffects, LeftAndRightBlocksPush) {
    standOn("LEFT");
    step();
    EXPECT_EQ(craft.s_speed, 60);
    standOn("RIGHT");
    step();
    EXPECT_EQ(craft.s_speed, -60);
}

// Steps run by a frame of `ms`, each completed.
int framesSteps(StepAccumulator& accumulator, int ms) {
    addFrameTime(accumulator, ms);
    return runDueSteps(accumulator, [] {}, [] { return false; });
}

TEST(StepFrame, StepsKeepUpWithTheClockAtAnyFrameRateAndAStallIsDropped) {
    StepAccumulator first;
    EXPECT_EQ(framesSteps(first, 21), 0) << "22 ms start a step";
    EXPECT_EQ(framesSteps(first, 1), 1);
    EXPECT_EQ(first.ms, 1);
    for (int frameMs : {1, 16, 33, 50, 100, 150}) {
        StepAccumulator accumulator;
        int steps = 0;
        for (int ms = 0; ms < 21000; ms += frameMs) steps += framesSteps(accumulator, frameMs);
        EXPECT_NEAR(steps, 1000, 1) << "21 s of " << frameMs << " ms frames";
    }
    StepAccumulator stalled;
    EXPECT_EQ(framesSteps(stalled, 5000), MAX_STEPS_PER_FRAME) << "a stall runs a handful, not 238";
    EXPECT_EQ(framesSteps(stalled, 21), 1) << "and the rest is dropped";
}

TEST(StepFrame, KeyCodesOutsideTheTableAreNeverHeld) {
    Craft craft;
    setKeyHeld(craft, 400, true);
    setKeyHeld(craft, -1, true);
    EXPECT_FALSE(keyHeld(craft, 400));
    EXPECT_FALSE(keyHeld(craft, -1));
    setKeyHeld(craft, SDLK_UP, true);
    EXPECT_TRUE(keyHeld(craft, SDLK_UP));
}

TEST(CraftReset, PlacesAtStartOrCheckpointAndClearsTheRun) {
    SimServices services;
    Level level = levelFromText(
        "block plain pos=300,0,0 size=600,500,1000\n"
        "block plain pos=700,200,1000 size=800,500,3000 point=1,2500,0 flags=CHECKPOINT\n");
    Craft craft;
    craft.f_speed = 99;
    craft.health = 5;
    craft.keys[5] = 1;
    craft.camUp[1] = -1;
    resetCraft(craft, level, 0);
    EXPECT_EQ(craft.x, 0);
    EXPECT_EQ(craft.ypos, 150);
    EXPECT_EQ(craft.z, 500);
    EXPECT_EQ(craft.f_speed, 0);
    EXPECT_EQ(craft.health, 100);
    EXPECT_EQ(craft.keys[5], 0);
    EXPECT_EQ(craft.camUp[1], 1);
    EXPECT_EQ(craft.camZ, 500 - 6000);
    EXPECT_EQ(craft.camY, 150 + 1800);
    resetCraft(craft, level, 1);
    EXPECT_EQ(craft.x, 300);
    EXPECT_EQ(craft.ypos, 350);
    EXPECT_EQ(craft.z, 2500);
    resetCraft(craft, level, 7);  // no such checkpoint: the start
    EXPECT_EQ(craft.z, 500);
    Level empty;
    resetCraft(craft, empty, 0);  // no crash on a level without blocks
    EXPECT_EQ(craft.z, 0);
}

TEST(ViewAngle, WidensAtOnceAndNarrowsSlowly) {
    SimServices services;
    Craft craft;
    craft.z = 1000;
    craft.ypos = 150;
    updateViewAngle(craft, 35.0f, true);
    updateViewAngle(craft, 60.0f, false);
    EXPECT_FLOAT_EQ(craft.viewAngle, 60.0f);
    EXPECT_EQ(craft.camZ, 1000 - 6000 + 1000);
    EXPECT_EQ(craft.camY, 150 + 1800 - 150);
    updateViewAngle(craft, 40.0f, false);
    EXPECT_FLOAT_EQ(craft.viewAngle, 58.5f);
    updateViewAngle(craft, 171.0f, true);
    EXPECT_FLOAT_EQ(craft.viewAngle, 58.5f);
    settings.speed = 0;
    updateViewAngle(craft, 35.0f, true);
    EXPECT_FLOAT_EQ(craft.viewAngle, 58.5f);  // single player: Speed off refuses all
    updateViewAngle(craft, 35.0f, true, timeAttackViewRules());
    EXPECT_FLOAT_EQ(craft.viewAngle, 35.0f);  // time attack: the reset to 35 still takes
}

TEST(DiedMessage, PadsMinutesOnlyForTimeAttack) {
    Craft craft;
    craft.minutes = 3;
    craft.seconds = 7;
    craft.msPart = 459;
    EXPECT_EQ(diedMessage(craft, false), "Died after 3:07:45");
    EXPECT_EQ(diedMessage(craft, true), "Died after  3:07:45");
}

}  // namespace
