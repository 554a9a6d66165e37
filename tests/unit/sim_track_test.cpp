// The block test, the ground scan, triggers, moving blocks, the item scan.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/globals.h"
#include "level/level_file.h"
#include "sim/physics.h"
#include "sim/track.h"
#include "support/sim_fixtures.h"
#include "support/sim_levels.h"

namespace {

Craft craftAt(int32_t x, int32_t y, int32_t z) {
    Craft craft;
    placeCraft(craft, x, y, z, 6000, 1800);
    return craft;
}

TEST(BlockTest, FixedBlockBeyondStopsAPlayerScanOnly) {
    Level level = levelFromText("block plain pos=300,0,10000\n");
    Craft player = craftAt(0, 150, 500);
    EXPECT_EQ(blockTest(player, level.blocks[0]), TEST_STOP_SCAN);
    Craft pusherDriver = craftAt(0, 150, 500);
    pusherDriver.kind = 0;
    EXPECT_EQ(blockTest(pusherDriver, level.blocks[0]), TEST_NO_CONTACT);
}

// A block in motion may have travelled beyond blocks that follow it in level
// order: it must not end the scan.
TEST(BlockTest, BlockInMotionBeyondTheCraftDoesNotStopTheScan) {
    Level level = levelFromText("block plain pos=300,0,0 point=300,0,5000 flags=MOVE,START_TRIGGER period=1\n"
                                "block SPEED pos=300,0,1000 size=600,500,2000\n");
    for (int i = 0; i < 25; ++i) advanceLevel(level);  // half a leg: near end at 2500
    ASSERT_EQ(blockCorner(level.blocks[0].body).z, 2500);
    Craft craft = craftAt(0, 150, 1500);
    EXPECT_EQ(blockTest(craft, level.blocks[0]), TEST_NO_CONTACT);
    EXPECT_EQ(groundScan(craft, level).groundType, BLOCK_SPEED);
}

TEST(BlockTest, LandingNeedsTheFootprint) {
    Level level = levelFromText("block plain pos=300,0,0\n");
    Craft beside = craftAt(456, 150, 300);  // 300 + 155 < 456
    EXPECT_EQ(blockTest(beside, level.blocks[0]), TEST_NO_CONTACT);
    Craft edge = craftAt(455, 150, 300);
    EXPECT_EQ(blockTest(edge, level.blocks[0]), TEST_STANDS);
}

TEST(BlockTest, FallingThroughTheTopSnapsOntoIt) {
    Level level = levelFromText("block plain pos=300,0,0\n");
    Craft craft = craftAt(0, -100, 300);
    craft.prevY = 400;  // the foot passed the top this step
    EXPECT_EQ(blockTest(craft, level.blocks[0]), TEST_STANDS);
    EXPECT_EQ(craft.ypos, 150);
    EXPECT_EQ(craft.camY, -100 + 1800 + 250);
}

TEST(BlockTest, OverTheFootprintWithoutTouching) {
    Level level = levelFromText("block plain pos=300,0,0\n");
    Craft craft = craftAt(0, 3000, 300);
    EXPECT_EQ(blockTest(craft, level.blocks[0]), TEST_OVER_FOOTPRINT);
}

TEST(BlockTest, PowerupIsPickedUpOnceUntilTheCooldownEnds) {
    SimServices services;
    Level level = levelFromText("block plain pos=300,0,0 size=600,500,2000 point=10,600,0 flags=POWERUP\n");
    Craft craft = craftAt(0, 150, 600);
    EXPECT_EQ(blockTest(craft, level.blocks[0]), TEST_STANDS);
    EXPECT_GE(craft.powerup, 1);
    EXPECT_LE(craft.powerup, 6);
    EXPECT_EQ(level.blocks[0].pickupCooldown, POWERUP_COOLDOWN_STEPS);
    EXPECT_TRUE(services.mixer.played(1, SOUND_POWERUP));
    craft.powerup = 0;
    blockTest(craft, level.blocks[0]);
    EXPECT_EQ(craft.powerup, 0);
}

TEST(GroundScan, TheLaterOfTwoBlocksGivesTheType) {
    Level level = levelFromText("block SPEED pos=300,0,0 size=600,500,1000\n"
                                "block SLOW pos=300,0,1000 size=600,500,1000\n");
    Craft craft = craftAt(0, 150, 1000);
    EXPECT_EQ(groundScan(craft, level).groundType, BLOCK_SLOW);
}

TEST(GroundScan, AnUnsortedLevelLosesLaterContacts) {
    Level level = levelFromText("block plain pos=300,0,5000\n"
                                "block SPEED pos=300,0,0\n");
    Craft craft = craftAt(0, 150, 300);
    EXPECT_EQ(groundScan(craft, level).groundType, GROUND_AIRBORNE);
}

TEST(GroundScan, ChangedTypeActsInsteadOfTheStoredType) {
    Level level = levelFromText("block plain pos=300,0,0 flags=CHANGE_TYPE newtype=4\n");
    triggerChain(level, 0);
    Craft craft = craftAt(0, 150, 300);
    EXPECT_EQ(groundScan(craft, level).groundType, BLOCK_HURT);
}

// A damaged file may hold any type code. Codes outside 0..11 act as plain
// ground: -1 would leave a craft resting on the block "airborne" until it
// died of falling, and 15 or 16 would make it lean on a side it never touched.
TEST(GroundScan, TypesOutsideTheTableActAsPlainGround) {
    SimServices services;
    for (int type : {-1, -7, 12, 15, 16, 42}) {
        Level level = levelFromText("block " + std::to_string(type) + " pos=300,0,0 size=600,500,90000\n");
        Craft craft;
        resetCraft(craft, level, 0);
        RecordingHooks hooks(level);
        PlayRules rules = timeAttackRules(hooks);
        ControlKeys keys = controlKeys(2);
        for (int i = 0; i < 80; ++i) ASSERT_EQ(physicsStep(craft, level, rules), StepOutcome::Completed) << type;
        EXPECT_EQ(craft.groundType, BLOCK_PLAIN) << type;
        EXPECT_EQ(craft.ypos, 150) << type;
        EXPECT_EQ(craft.v_speed, 0) << type;
        setKeyHeld(craft, keys.left, true);
        physicsStep(craft, level, rules);
        EXPECT_EQ(craft.s_speed, 40) << type;  // steering works as on plain ground
        EXPECT_EQ(craft.health, 100) << type;
        EXPECT_TRUE(hooks.deaths.empty()) << type;
    }
}

class TouchTriggers : public ::testing::Test {
protected:
    void SetUp() override {
        level = levelFromText(
            "block plain pos=300,0,0 size=600,500,3000 flags=TOUCH_TRIGGER,HAS_TARGET target=1\n"
            "block plain pos=300,0,3000 size=600,500,3000 flags=HAS_TARGET target=2\n"
            "block plain pos=300,0,90000 size=600,500,600 point=900,0,90000 flags=MOVE period=2\n");
        craft = craftAt(0, 150, 500);
    }
    SimServices services;
    Level level;
    Craft craft;
};

TEST_F(TouchTriggers, ChainStartsAFarBlockOnce) {
    for (int i = 0; i < 10; ++i) groundScan(craft, level);
    EXPECT_EQ(level.blocks[2].body.moving, -1);
    EXPECT_EQ(services.mixer.count(SOUND_PLACE), 1);
    EXPECT_EQ(level.blocks[0].body.moving, 1);  // landed on: its own motion starts
    for (int i = 0; i < 120; ++i) advanceLevel(level);
    EXPECT_NE(blockCorner(level.blocks[2].body).x, 300);
}

TEST_F(TouchTriggers, DrivingOffAndBackFiresAgain) {
    groundScan(craft, level);
    placeCraft(craft, 0, 150, 4000, 6000, 1800);
    groundScan(craft, level);
    placeCraft(craft, 0, 150, 500, 6000, 1800);
    groundScan(craft, level);
    EXPECT_EQ(services.mixer.count(SOUND_PLACE), 2);
    EXPECT_EQ(level.blocks[2].body.moving, 0);  // the second trigger stopped it
}

// A craft resting on the track for many steps, the way a play state steps
// it: the level moves first, then the craft.
class TouchTriggerScenario : public TextLevelPlay {
protected:
    void stepWithLevel(int steps) {
        for (int i = 0; i < steps; ++i) {
            advanceLevel(level);
            ASSERT_EQ(physicsStep(craft, level, rules), StepOutcome::Completed) << "step " << i;
        }
    }
    int32_t farBlockX() const { return blockCorner(level.blocks[2].body).x; }
};

// The far block slides toward +x for 100 steps per leg once started.
const char* const FAR_BLOCK = "block plain pos=300,0,90000 size=600,500,600 point=5300,0,90000 flags=MOVE period=2\n";

TEST_F(TouchTriggerScenario, RestingAcrossTheSeamOfATriggerPlateFiresOnce) {
    load(std::string("block plain pos=300,0,0 size=600,500,1000 flags=TOUCH_TRIGGER,HAS_TARGET target=2\n"
                     "block plain pos=300,0,1000 size=600,500,3000\n") +
         FAR_BLOCK);
    placeCraft(craft, 0, 150, 1000, 6000, 1800);  // 155 onto each side of the seam
    stepWithLevel(80);
    EXPECT_EQ(services.mixer.count(SOUND_PLACE), 1);
    EXPECT_EQ(level.blocks[2].body.moving, -1);
    EXPECT_EQ(level.blocks[2].body.moveTime, 79);  // moved on every step after the one that fired
    EXPECT_GT(farBlockX(), 300 + 3000);
    EXPECT_EQ(craft.z, 1000);  // still resting across the seam
    EXPECT_EQ(craft.lastTouched, 1);
    EXPECT_TRUE(hooks.deaths.empty());
}

TEST_F(TouchTriggerScenario, LeaningOnATriggerWallWhileStandingFiresOnce) {
    load(std::string("block plain pos=2000,0,0 size=4000,500,10000\n"
                     "block plain pos=1000,1000,0 size=600,1000,10000 flags=TOUCH_TRIGGER,HAS_TARGET target=2\n") +
         FAR_BLOCK);
    setKeyHeld(craft, keys.left, true);  // toward +x, where the wall stands
    stepWithLevel(80);
    EXPECT_EQ(craft.groundType, GROUND_SIDE_LEFT);
    EXPECT_EQ(services.mixer.count(SOUND_PLACE), 1);
    EXPECT_EQ(level.blocks[2].body.moving, -1);
    EXPECT_EQ(level.blocks[1].body.moving, 0);  // leaned on, not landed on: the wall stays put
    EXPECT_GT(farBlockX(), 300 + 1000);
}

TEST_F(TouchTriggerScenario, JumpingAndLandingBackOnThePlateDoesNotFireAgain) {
    load(std::string("block plain pos=300,0,0 size=600,500,3000 flags=TOUCH_TRIGGER,HAS_TARGET target=2\n"
                     "block plain pos=300,0,3000 size=600,500,3000\n") +
         FAR_BLOCK);
    stepWithLevel(5);
    ASSERT_EQ(services.mixer.count(SOUND_PLACE), 1);
    setKeyHeld(craft, keys.jump, true);
    stepWithLevel(1);
    setKeyHeld(craft, keys.jump, false);
    ASSERT_GT(craft.ypos, 150);
    stepWithLevel(60);  // up, down and resting again
    EXPECT_EQ(craft.ypos, 150);
    EXPECT_EQ(craft.groundType, 0);
    EXPECT_EQ(services.mixer.count(SOUND_PLACE), 1);
    EXPECT_EQ(level.blocks[2].body.moving, -1);
}

TEST_F(TouchTriggerScenario, EachOfTwoTouchedPlatesFiresOnceAndAgainAfterALeave) {
    load("block plain pos=300,0,0 size=600,500,1000 flags=TOUCH_TRIGGER,HAS_TARGET target=2\n"
         "block plain pos=300,0,1000 size=600,500,3000 flags=TOUCH_TRIGGER,HAS_TARGET target=3\n"
         "block plain pos=300,0,90000 size=600,500,600\n"
         "block plain pos=300,0,91000 size=600,500,600\n");
    placeCraft(craft, 0, 150, 1000, 6000, 1800);
    stepWithLevel(20);
    EXPECT_EQ(services.mixer.count(SOUND_PLACE), 2);
    EXPECT_EQ(level.blocks[2].body.moving, -1);
    EXPECT_EQ(level.blocks[3].body.moving, -1);
    placeCraft(craft, 0, 150, 2000, 6000, 1800);  // the second plate only
    stepWithLevel(20);
    EXPECT_EQ(services.mixer.count(SOUND_PLACE), 2);
    placeCraft(craft, 0, 150, 1000, 6000, 1800);  // back across the seam: the first fires again
    stepWithLevel(20);
    EXPECT_EQ(services.mixer.count(SOUND_PLACE), 3);
    EXPECT_EQ(level.blocks[2].body.moving, 0);
    EXPECT_EQ(level.blocks[3].body.moving, -1);
}

TEST(TriggerChain, CyclicAndOutOfRangeChainsEnd) {
    Level level = levelFromText("block plain pos=300,0,0 flags=HAS_TARGET,CHANGE_TYPE target=1 newtype=2\n"
                                "block plain pos=300,0,600 flags=HAS_TARGET target=0\n"
                                "block plain pos=300,0,1200 flags=HAS_TARGET target=8000\n");
    triggerChain(level, 0);
    EXPECT_EQ(level.blocks[0].body.moving, -1);
    EXPECT_EQ(level.blocks[1].body.moving, -1);
    EXPECT_EQ(level.blocks[0].body.changedType, 3);
    EXPECT_EQ(level.blocks[0].body.changedTypeTime, CHANGED_TYPE_FOREVER);
    triggerChain(level, 2);
    EXPECT_EQ(level.blocks[2].body.moving, -1);
    triggerChain(level, -5);
    triggerChain(level, 99);
    triggerChain(level, 0);
    EXPECT_EQ(level.blocks[0].body.changedTypeTime, 0);  // a second trigger reverts
}

TEST(LevelAdvance, MoveOnceStopsAtTheEndOfALeg) {
    Level level = levelFromText("block plain pos=300,0,0 point=1300,0,0 flags=MOVE,MOVE_ONCE period=1\n");
    triggerChain(level, 0);
    for (int i = 0; i < 80; ++i) advanceLevel(level);
    EXPECT_EQ(level.blocks[0].body.moving, 0);
    EXPECT_EQ(level.blocks[0].body.moveTime, 50);
    EXPECT_EQ(blockCorner(level.blocks[0].body).x, 1300);
}

TEST(LevelAdvance, FreeMotionStartsOverAfterTenLegs) {
    Level level = levelFromText("block HURT pos=300,0,0 point=1300,0,0 flags=MOVE,START_TRIGGER period=1\n");
    for (int i = 0; i < 500; ++i) advanceLevel(level);
    EXPECT_EQ(level.blocks[0].body.moveTime, 500);
    advanceLevel(level);
    EXPECT_EQ(level.blocks[0].body.moveTime, 0);
    EXPECT_NEAR(level.blocks[0].body.pulse, 0.015f * float(501 % 135), 1e-4);  // wraps after passing 2.0
}

TEST(LevelAdvance, MotionNeedsASecondPointAndAPeriod) {
    Level level = levelFromText("block plain pos=300,0,0 point=0,0,5000 flags=MOVE,START_TRIGGER period=3\n"
                                "block plain pos=300,0,0 point=900,0,5000 flags=MOVE,START_TRIGGER\n");
    for (int i = 0; i < 20; ++i) advanceLevel(level);
    for (const Block& block : level.blocks) {
        EXPECT_EQ(block.body.movePeriod, 0);
        EXPECT_EQ(blockCorner(block.body).z, 0);
    }
}

TEST(LevelReset, KeepsStartTriggeredMotionsAndClearsTheRest) {
    Level level = levelFromText("block plain pos=300,0,0 point=900,0,0 flags=MOVE,START_TRIGGER period=1\n"
                                "block plain pos=300,0,0 point=900,0,0 flags=MOVE,CHANGE_TYPE period=1\n");
    triggerChain(level, 1);
    for (int i = 0; i < 10; ++i) advanceLevel(level);
    animationTicks = 42;
    resetLevel(level);
    EXPECT_EQ(animationTicks, 0);
    EXPECT_EQ(level.blocks[0].body.moving, -1);
    EXPECT_EQ(level.blocks[0].body.moveTime, 0);
    EXPECT_EQ(level.blocks[1].body.moving, 0);
    EXPECT_EQ(level.blocks[1].body.changedTypeTime, 0);
}

class Checkpoints : public ::testing::Test, public ItemScanHooks {
protected:
    void onCheckpoint(Craft&, int ordinal) override { reached.push_back(ordinal); }
    void onBonusSpawnPoint(Level&, int index) override { bonus.push_back(index); }
    void onPusherSpawnPoint(Level&, int index) override { pusher.push_back(index); }
    void scanAt(int32_t x, int32_t y, int32_t z) {
        placeCraft(craft, x, y, z, 6000, 1800);
        scanItems(craft, level, *this);
    }

    SimServices services;
    Level level = levelFromText(
        "block plain pos=300,0,5000 size=600,500,2000 point=1,6000,0 flags=CHECKPOINT\n"
        "block plain pos=300,0,9000 size=600,500,2000 point=1,10000,0 flags=CHECKPOINT\n"
        "block plain pos=300,0,40000 point=5,40000,1 flags=BONUS,PUSHER\n");
    Craft craft;
    std::vector<int> reached, bonus, pusher;
};

TEST_F(Checkpoints, CountsOnlyInsideTheWindow) {
    scanAt(0, 150, 5999);   // before the gate
    scanAt(300, 150, 6000); // on the block's +x edge: outside
    scanAt(0, 1701, 6000);  // more than 1700 above the top
    scanAt(0, -101, 6000);  // more than 100 below
    EXPECT_TRUE(reached.empty());
    scanAt(0, 1700, 6000);
    EXPECT_EQ(reached, std::vector<int>{1});
    EXPECT_EQ(craft.checkpoint, 1);
    EXPECT_TRUE(services.mixer.played(ANY_CHANNEL, SOUND_CHECKPOINT));
    scanAt(0, 150, 6500);
    EXPECT_EQ(reached.size(), 1u);  // passed once
}

TEST_F(Checkpoints, ALaterCheckpointCountsWithoutTheEarlierOne) {
    scanAt(0, 150, 10000);
    EXPECT_EQ(craft.checkpoint, 2);
    EXPECT_EQ(checkpointCount(level), 2);
    EXPECT_EQ(checkpointBlock(level, 2), 1);
}

TEST_F(Checkpoints, SpawnPointsAreReportedInTheirWindowBonusFirst) {
    scanAt(0, 150, 40000 - 20000);  // not strictly inside
    EXPECT_TRUE(bonus.empty());
    scanAt(0, 150, 40000 - 21000);
    EXPECT_EQ(bonus, std::vector<int>{2});
    EXPECT_TRUE(pusher.empty());  // the bonus flag is checked first
}

// Moving blocks that carry the craft back and forth, touch triggers and a
// malformed block among plain ones.
std::string scanIndexLevel() {
    std::string text;
    for (int i = 0; i < 120; ++i) {
        int z = i * 1000;
        text += "block plain pos=300,0," + std::to_string(z) + " size=600,500,1000";
        if (i % 7 == 3) text += " point=900,100," + std::to_string(z - 2500) + " flags=MOVE,START_TRIGGER period=1";
        else if (i % 11 == 5) text += " point=700,-50," + std::to_string(z + 3000) + " flags=MOVE,TOUCH_TRIGGER,HAS_TARGET period=2 target=" + std::to_string(i + 1);
        text += "\n";
    }
    text += "block plain pos=300,0,4000 size=600,500,-3000\n";  // malformed: negative length
    return text;
}

// The indexed scan must give exactly what the block-by-block scan gives,
// including on levels whose moving blocks carry the craft back and forth:
// craft A in level order, and castle attack's craft B in the mirrored order
// of the arena built from the same level.
TEST(GroundScanIndex, MatchesTheStraightforwardScan) {
    SimServices services;
    Level arena = levelFromText(scanIndexLevel());
    ASSERT_GE(buildCastleArena(arena), 0);
    const MirroredScanOrder mirrored = mirroredScanOrder(arena);
    ASSERT_EQ(mirrored.order.size(), arena.blocks.size());
    GroundScanOptions craftB;
    craftB.mirroredOrder = &mirrored;
    struct Case {
        const char* what;
        Level level;
        int kind;
        GroundScanOptions options;
        int32_t zFrom, zTo;
    } cases[] = {
        {"craft A", levelFromText(scanIndexLevel()), 1, {}, -1000, 125000},
        {"craft B", arena, -1, craftB, -1000, 245000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Level fast = c.level;
        Level plain = fast;
        for (int step = 0; step < 700; ++step) {
            advanceLevel(fast);
            advanceLevel(plain);
            for (int32_t z = c.zFrom; z < c.zTo; z += 997) {
                for (int32_t y : {140, 150, 250, 400}) {
                    Craft a = craftAt(0, y, z);
                    a.kind = c.kind;
                    a.prevY = y + 40;
                    a.lastTouched = (z / 1000) % 5;
                    a.touchedTriggers[0] = (z / 1000) / 11 * 11 + 5;  // the trigger nearest behind, or none
                    a.touchedTriggerCount = (z / 1000) % 2;
                    Craft b = a;
                    GroundScanResult ra = groundScan(a, fast, c.options);
                    GroundScanResult rb = groundScanEveryBlock(b, plain, c.options);
                    ASSERT_EQ(ra.groundType, rb.groundType) << "step " << step << " z " << z;
                    ASSERT_EQ(ra.standingBlock, rb.standingBlock);
                    ASSERT_EQ(0, std::memcmp(&a, &b, sizeof(Craft))) << "step " << step << " z " << z;
                }
            }
            for (int i = 0; i < fast.blockCount(); ++i) {
                ASSERT_EQ(fast.blocks[size_t(i)].body.moving, plain.blocks[size_t(i)].body.moving);
                ASSERT_EQ(fast.blocks[size_t(i)].body.moveTime, plain.blocks[size_t(i)].body.moveTime);
            }
        }
    }
}

// The index is built for one version of the block list: a block edited in
// place (as the editor does) is seen by the very next scan.
class EditedLevelScan : public ::testing::Test {
protected:
    void SetUp() override {
        std::string text;
        for (int i = 0; i < 40; ++i) text += "block plain pos=300,0," + std::to_string(i * 1000) + " size=600,500,1000\n";
        level = levelFromText(text);
    }
    // The indexed scan, checked against the block-by-block one.
    int groundAt(int32_t z) {
        Craft a = craftAt(0, 150, z), b = a;
        const int fast = groundScan(a, level).groundType;
        Level copy = level;
        EXPECT_EQ(fast, groundScanEveryBlock(b, copy).groundType) << "z " << z;
        return fast;
    }
    SimServices services;
    Level level;
};

TEST_F(EditedLevelScan, BlockLengthenedInPlaceCarriesTheCraftBeyondTheTrack) {
    ASSERT_EQ(groundAt(45000), GROUND_AIRBORNE);  // builds the index: every block lies behind
    Block& early = level.blocks.edit(2);
    early.type = BLOCK_SPEED;
    early.body.length = 48000;  // now reaches z 50000
    EXPECT_EQ(groundAt(45000), BLOCK_SPEED);
}

TEST_F(EditedLevelScan, BlockMovedInPlaceIsFoundWhereItNowIs) {
    ASSERT_EQ(groundAt(45500), GROUND_AIRBORNE);
    level.blocks.edit(0).body.z = 45000;
    EXPECT_EQ(groundAt(45500), BLOCK_PLAIN);
    // The same change through the whole list, and as a new second point.
    level.blocks.editAll()[0].body.z = 0;
    EXPECT_EQ(groundAt(45500), GROUND_AIRBORNE);
    Block& mover = level.blocks.edit(1);
    mover.body.flags = FLAG_MOVE | FLAG_START_TRIGGER | (1u << MOVE_PERIOD_SHIFT);
    mover.body.pointX = 300;
    mover.body.pointZ = 45000;
    mover.body.movePeriod = 1;
    mover.body.moving = -1;  // as a load leaves a start-triggered block
    for (int step = 0; step < 50; ++step) advanceLevel(level);  // one leg: at its far point
    EXPECT_EQ(groundAt(45500), BLOCK_PLAIN);
}

TEST_F(EditedLevelScan, ListReplacedByOneOfTheSameSizeIsScannedAfresh) {
    ASSERT_EQ(groundAt(45000), GROUND_AIRBORNE);
    Level other = level;
    other.blocks.edit(39).body.length = 10000;  // the last block now reaches z 49000
    level.blocks = other.blocks;
    EXPECT_EQ(groundAt(45000), BLOCK_PLAIN);
}

TEST_F(EditedLevelScan, MotionAndTriggersLeaveTheVersionAlone) {
    groundAt(1000);
    const uint64_t version = level.blocks.version();
    for (int step = 0; step < 20; ++step) advanceLevel(level);
    triggerChain(level, 3);
    groundAt(1000);
    EXPECT_EQ(level.blocks.version(), version) << "the index would be rebuilt on every step";
    level.blocks.edit(3);
    EXPECT_NE(level.blocks.version(), version);
}

TEST(HostileValues, ExtremeCoordinatesDoNotOverflow) {
    SimServices services;
    Level level = levelFromText(
        "block plain pos=2147483647,2147483647,2147483000 size=-2147483648,2147483647,2147483647 "
        "point=-2147483648,-2147483648,-2147483648 flags=MOVE,START_TRIGGER,POWERUP period=31\n"
        "block SPEED pos=-2147483648,-2147483648,-2147483648 size=2147483647,-5,-2147483648\n");
    Craft craft;
    resetCraft(craft, level, 0);
    RecordingHooks hooks(level);
    PlayRules rules = singlePlayerRules(hooks);
    for (int i = 0; i < 200; ++i) {
        advanceLevel(level);
        physicsStep(craft, level, rules);
        setKeyHeld(craft, controlKeys(2).forward, true);
    }
    SUCCEED() << "runs clean under UBSan";
}

}  // namespace
