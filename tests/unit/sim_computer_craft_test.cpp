// Scenario tests of the computer crafts on small text levels, stepped in the
// single-player order with a fixed random seed and a fake clock.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "render/computer_objects_view.h"
#include "sim/computer_craft.h"
#include "sim/computer_physics.h"
#include "support/computer_play.h"
#include "support/sim_levels.h"

namespace {

// A straight 4000-wide track; the pusher's spawn point is 22000 into it.
const char* PUSHER_TRACK =
    "block plain pos=2000,0,0 size=4000,500,10000 point=10,22000,0 flags=PUSHER\n"
    "block plain pos=2000,0,10000 size=4000,500,300000\n"
    "block plain pos=2000,0,310000 size=4000,500,20000\n"
    "block GOAL pos=2000,0,330000 size=4000,500,2000\n";

// Flat 8000-wide blocks, the second a spawn point for either craft.
const char* FLAT_FIELD =
    "block plain pos=4000,0,0 size=8000,500,5000\n"
    "block plain pos=4000,0,5000 size=8000,500,5000 point=10,6000,0 flags=PUSHER\n"
    "block plain pos=4000,0,10000 size=8000,500,5000 point=10,11000,0 flags=BONUS\n"
    "block plain pos=4000,0,15000 size=8000,500,50000\n";

class PusherCraft : public ComputerPlay {
protected:
    // A pusher resting on block `index` at (x, 150, z), its block known.
    void pusherAt(int index, int32_t x, int32_t z) {
        computer.spawn(CRAFT_KIND_PUSHER, level, index);
        place(computer.pusher, x, 150, z);
        computer.pusher.camX = index;
    }
};

TEST_F(PusherCraft, KeepsPaceWithThePlayerThenPushesItExactly500Away) {
    load(PUSHER_TRACK);
    setKeyHeld(craft, keys.forward, true);
    step();
    ASSERT_TRUE(computer.pusherActive);
    EXPECT_EQ(computer.pusher.z, 22000);
    EXPECT_EQ(computer.pusher.kind, CRAFT_KIND_PUSHER);
    int steps = stepUntil([&] { return services.mixer.count(SOUND_BUMP) > 0; }, 600);
    ASSERT_LT(steps, 600) << "the pusher never reached the player";
    EXPECT_EQ(craft.holdTimer, 19);  // 20, counted down at the end of the step
    const Craft& pusher = computer.pusher;
    EXPECT_EQ(std::abs(craft.x - pusher.x), 500);
    EXPECT_EQ(std::abs(craft.z - pusher.z), 500);
    EXPECT_EQ(services.mixer.count(SOUND_BUMP), 1);
    // It hung back ahead of the player at nearly the player's speed, never
    // running away: the player caught up with it.
    EXPECT_GE(pusher.f_speed, craft.f_speed - 90);
    EXPECT_LE(pusher.f_speed, craft.f_speed + 90);
}

// The pace rule alone (on the level's last big block the route rules do not
// run): which speed key each craft holds at a distance d ahead of the
// player (after its move) and a speed difference from the player's 200.
TEST_F(PusherCraft, ThePaceKeysFollowTheDistanceAndTheSpeedDifference) {
    const struct {
        int kind;
        int d, difference;
        bool forward, backward;
    } cases[] = {
        {CRAFT_KIND_PUSHER, 1000, 0, false, true},     // ahead at the player's speed: eases off
        {CRAFT_KIND_PUSHER, 1000, -35, false, true},
        {CRAFT_KIND_PUSHER, 1000, -40, false, false},
        {CRAFT_KIND_PUSHER, 1000, -51, true, false},
        {CRAFT_KIND_PUSHER, 3000, 0, false, true},
        {CRAFT_KIND_PUSHER, 3000, -60, false, false},
        {CRAFT_KIND_PUSHER, 3000, -91, true, false},
        {CRAFT_KIND_PUSHER, 100, 0, false, false},     // alongside: no rule
        {CRAFT_KIND_PUSHER, -1000, 0, true, false},    // behind: catches up
        {CRAFT_KIND_PUSHER, -1000, 51, false, true},
        {CRAFT_KIND_PUSHER, -3000, 0, true, false},
        {CRAFT_KIND_PUSHER, -3000, 91, false, true},
        {CRAFT_KIND_BONUS, 1000, 0, false, true},
        {CRAFT_KIND_BONUS, 1000, -6, true, false},
        {CRAFT_KIND_BONUS, 3000, -20, true, false},
        {CRAFT_KIND_BONUS, -1000, 0, true, false},
        {CRAFT_KIND_BONUS, -3000, 21, false, true},
    };
    load(FLAT_FIELD);
    for (const auto& c : cases) {
        SCOPED_TRACE("kind " + std::to_string(c.kind) + " d " + std::to_string(c.d) + " difference " +
                     std::to_string(c.difference));
        const bool pusher = c.kind == CRAFT_KIND_PUSHER;
        computer.removeAll();
        computer.spawn(c.kind, level, 3);
        Craft& k = pusher ? computer.pusher : computer.bonus;
        place(k, 3000, 150, 30000);
        k.camX = 3;
        k.f_speed = 200 + c.difference;
        k.catchCooldown = 1000;
        place(craft, -3000, 150, 30000 + k.f_speed - c.d);
        craft.f_speed = 200;
        if (pusher)
            computer.stepPusher(craft, level);
        else
            computer.stepBonus(craft, level);
        ASSERT_EQ(k.z - craft.z, c.d);
        EXPECT_EQ(keyHeld(k, computerKeys.forward), c.forward);
        EXPECT_EQ(keyHeld(k, computerKeys.backward), c.backward);
    }
}

// The next block continues the track 500 higher: a step up needs a jump as
// a gap does, or the pusher drives into its face.
TEST_F(PusherCraft, JumpsUpAStepThatContinuesTheTrack) {
    load("block plain pos=2000,0,0 size=4000,500,2000\n"
         "block plain pos=2000,0,2000 size=4000,500,20000 point=10,3000,0 flags=PUSHER\n"
         "block plain pos=2000,500,22000 size=4000,1000,40000\n"
         "block plain pos=2000,500,62000 size=4000,1000,80000\n");
    place(craft, 0, 650, 60000);
    craft.f_speed = 300;
    computer.onPusherSpawnPoint(level, 1);
    for (int i = 0; i < 400 && computer.pusherActive && computer.pusher.camX != 2; ++i)
        computer.stepPusher(craft, level);
    ASSERT_TRUE(computer.pusherActive) << "it drove into the step";
    EXPECT_EQ(computer.pusher.camX, 2);
    EXPECT_EQ(computer.pusher.ypos, 500 + 150);
    EXPECT_FALSE(services.mixer.played(ANY_CHANNEL, SOUND_EXPLODE));
}

TEST_F(PusherCraft, PushExchangesTheSidewaysSpeeds) {
    load(FLAT_FIELD);
    // The player on the pusher's -x side, the pusher steering toward it.
    pusherAt(1, 300, 6000);
    place(craft, 0, 150, 6100);
    craft.s_speed = 30;
    setKeyHeld(computer.pusher, computerKeys.right, true);
    computer.stepPusher(craft, level);
    EXPECT_EQ(computer.pusher.x, 205);
    EXPECT_EQ(craft.x, 205 - 500);
    EXPECT_EQ(craft.z, 6000 + 500);
    EXPECT_EQ(craft.holdTimer, 20);
    EXPECT_EQ(craft.s_speed, 30 - 95);
    EXPECT_TRUE(services.mixer.played(ANY_CHANNEL, SOUND_BUMP));
}

TEST_F(PusherCraft, PlayerMovingIntoAStillPusherHandsItsSpeedOver) {
    load(FLAT_FIELD);
    pusherAt(1, 300, 6000);
    place(craft, 0, 150, 5900);
    craft.s_speed = 80;
    computer.stepPusher(craft, level);
    EXPECT_EQ(craft.z, 6000 - 500);
    EXPECT_EQ(computer.pusher.s_speed, 80);
    EXPECT_EQ(craft.s_speed, 80);
}

TEST_F(PusherCraft, FastPlayerIsNotPushedFasterAndAHeldPlayerOnlyMoves) {
    load(FLAT_FIELD);
    pusherAt(1, -300, 6000);  // the player on its +x side
    place(craft, 0, 150, 6000);
    craft.s_speed = 200;
    setKeyHeld(computer.pusher, computerKeys.left, true);
    computer.stepPusher(craft, level);
    EXPECT_EQ(craft.s_speed, 200);
    EXPECT_EQ(craft.x, -205 + 500);
    // Still held: placed again, but no second shove and no sound.
    services.mixer.clear();
    place(craft, -100, 150, 6000);
    craft.s_speed = 0;
    setKeyHeld(computer.pusher, computerKeys.left, true);
    computer.stepPusher(craft, level);
    EXPECT_EQ(craft.x, computer.pusher.x + 500);
    EXPECT_EQ(craft.s_speed, 0);
    EXPECT_EQ(craft.holdTimer, 20);
    EXPECT_EQ(services.mixer.count(SOUND_BUMP), 0);
}

TEST_F(PusherCraft, ReachingTheGoalRemovesItWithoutTouchingThePlayer) {
    load("block plain pos=2000,0,0 size=4000,500,2000\n"
         "block plain pos=2000,0,2000 size=4000,500,2000 point=10,2600,0 flags=PUSHER\n"
         "block GOAL pos=2000,0,4000 size=4000,500,2000\n"
         "block plain pos=2000,0,6000 size=4000,500,30000\n");
    place(craft, 0, 150, 20000);
    craft.f_speed = 100;
    const Craft before = craft;
    computer.onPusherSpawnPoint(level, 1);
    int steps = 0;
    while (computer.pusherActive && steps < 300) {
        computer.stepPusher(craft, level);
        ++steps;
    }
    EXPECT_FALSE(computer.pusherActive);
    EXPECT_GE(computer.pusher.z + 155, 4000);  // it drove onto the goal
    EXPECT_LT(computer.pusher.z, 6000);
    EXPECT_EQ(craft.x, before.x);
    EXPECT_EQ(craft.z, before.z);
    EXPECT_EQ(craft.holdTimer, 0);
    EXPECT_EQ(singleHooks.finishes, 0);
    EXPECT_EQ(services.mixer.count(SOUND_EXPLODE), 0);
}

TEST(AirSteps, DropsLengthenAndClimbsShortenTheJump) {
    EXPECT_EQ(airSteps(0), 30);
    EXPECT_EQ(airSteps(239), 30);
    EXPECT_EQ(airSteps(240), 28);
    EXPECT_EQ(airSteps(980), 15);
    EXPECT_EQ(airSteps(-239), 30);
    EXPECT_EQ(airSteps(-240), 32);
    EXPECT_EQ(airSteps(-980), 45);
    EXPECT_EQ(airSteps(-1740), 68);
    EXPECT_EQ(airSteps(-2000), 68);
    EXPECT_EQ(airSteps(INT64_C(-5000000000)), 68);
}

TEST_F(PusherCraft, JumpsAGapAndLandsOnThePlannedBlock) {
    load("block plain pos=2000,0,0 size=4000,500,2000\n"
         "block plain pos=2000,0,2000 size=4000,500,20000 point=10,3000,0 flags=PUSHER\n"
         "block plain pos=2000,-2000,25000 size=4000,500,80000\n"
         "block plain pos=2000,-2000,105000 size=4000,500,80000\n");
    place(craft, 0, -1850, 60000);
    craft.f_speed = 300;
    computer.onPusherSpawnPoint(level, 1);
    std::string lastLabel;
    int planned = -1, reachChecks = 0, jumps = 0;
    for (int i = 0; i < 400 && computer.pusherActive && computer.pusher.camX != 2; ++i) {
        computer.stepPusher(craft, level);
        const Craft& k = computer.pusher;
        if (k.camX != 1) continue;
        planned = computer.route.nextBlock;
        if (k.v_speed == JUMP_SPEED) {
            ++jumps;
            lastLabel = computer.debugText();
        }
        if (k.v_speed == 0 && keyHeld(k, computerKeys.forward) && !keyHeld(k, computerKeys.backward)) {
            // A drop of 2000 keeps a jump in the air for 68 steps.
            EXPECT_EQ(computer.route.forwardReach, 68 * (k.f_speed + 4));
            ++reachChecks;
        }
    }
    EXPECT_GT(reachChecks, 0);
    EXPECT_EQ(planned, 2);
    // Straight in line with the lower block, it jumps as soon as a jump reaches it.
    EXPECT_GE(jumps, 1);
    EXPECT_EQ(lastLabel, "JUMP 6");
    ASSERT_TRUE(computer.pusherActive);
    EXPECT_EQ(computer.pusher.camX, 2);
    EXPECT_EQ(computer.pusher.ypos, -2000 + 150);
    EXPECT_GT(computer.pusher.z, 25000);
    EXPECT_EQ(services.mixer.count(SOUND_JUMP), jumps);
    // The debug overlay keeps the last rule's label through the crafts'
    // removal and the next spawn.
    computer.removeAll();
    EXPECT_EQ(computer.debugText(), "JUMP 6");
    computer.onPusherSpawnPoint(level, 1);
    computer.stepPusher(craft, level);
    EXPECT_EQ(computer.debugText(), "JUMP 6");
}

// The ceiling's top is 1500 above the block, its underside 500: the pusher
// steers to the side of it nearer to it, +x here.
TEST_F(PusherCraft, SteersRoundAHighCeiling) {
    load("block plain pos=4000,0,0 size=8000,500,2000\n"
         "block plain pos=4000,0,2000 size=8000,500,18000 point=10,3000,0 flags=PUSHER\n"
         "block plain pos=300,1500,9000 size=600,1000,2000\n"
         "block plain pos=4000,0,20000 size=8000,500,40000\n"
         "block plain pos=4000,0,60000 size=8000,500,40000\n");
    place(craft, 0, 150, 40000);
    craft.f_speed = 300;
    computer.onPusherSpawnPoint(level, 1);
    int32_t xUnderCeiling = 0;
    bool pressedLeft = false;
    while (computer.pusherActive && computer.pusher.z < 9000) {
        computer.stepPusher(craft, level);
        pressedLeft = pressedLeft || keyHeld(computer.pusher, computerKeys.left);
        xUnderCeiling = computer.pusher.x;
    }
    ASSERT_TRUE(computer.pusherActive);
    EXPECT_EQ(computer.route.ceilingsAhead[0], 2);
    EXPECT_TRUE(pressedLeft);
    EXPECT_GT(xUnderCeiling - 155, 300);  // clear of the ceiling's +x side
}

// The ceiling rules divide by the forward speed: at rest they do not apply.
TEST_F(PusherCraft, CeilingRulesAtRestDoNothing) {
    load("block plain pos=4000,0,0 size=8000,500,2000\n"
         "block plain pos=4000,0,2000 size=8000,500,18000 point=10,8000,0 flags=PUSHER\n"
         "block plain pos=300,1500,9000 size=600,1000,2000\n"
         "block plain pos=4000,0,20000 size=8000,500,40000\n"
         "block plain pos=4000,0,60000 size=8000,500,40000\n");
    place(craft, 3900, 150, 8000);  // level with it, out of ramming reach
    computer.onPusherSpawnPoint(level, 1);
    for (int i = 0; i < 40; ++i) computer.stepPusher(craft, level);
    ASSERT_TRUE(computer.pusherActive);
    EXPECT_EQ(computer.route.ceilingsAhead[0], 2);
    EXPECT_EQ(computer.pusher.f_speed, 0);
    EXPECT_EQ(computer.pusher.z, 8000);
}

// Near the end of a level the route never names a block past the last.
TEST_F(PusherCraft, RouteNearTheLastBlockStaysInsideTheLevel) {
    load("block plain pos=2000,0,0 size=4000,500,3000 point=10,1000,0 flags=PUSHER\n"
         "block plain pos=90000,0,3000 size=600,500,1000\n"
         "block plain pos=2000,0,3000 size=4000,500,3000\n");
    place(craft, 0, 150, 30000);
    craft.f_speed = 400;
    computer.onPusherSpawnPoint(level, 0);
    for (int i = 0; i < 200 && computer.pusherActive; ++i) {
        computer.stepPusher(craft, level);
        if (computer.route.referenceBlock == 0) {
            EXPECT_EQ(computer.route.nextBlock, 2);
            EXPECT_EQ(computer.route.afterNext, 2);
        }
    }
    EXPECT_EQ(computer.route.referenceBlock, 0);
}

// Key codes from a hand-edited settings file may lie outside the key table:
// the driver's presses at such codes are dropped, never written elsewhere.
TEST_F(PusherCraft, KeyCodesOutsideTheTableAreNeverPressed) {
    settings.keys[KEY_FORWARD1] = 5000;
    settings.keys[KEY_LEFT1] = -7;
    load(PUSHER_TRACK);
    place(craft, 0, 150, 60000);
    craft.f_speed = 300;
    computer.onPusherSpawnPoint(level, 0);
    for (int i = 0; i < 100; ++i) computer.stepPusher(craft, level);
    ASSERT_TRUE(computer.pusherActive);
    EXPECT_EQ(computer.pusher.f_speed, 0);  // its forward key is unusable
    for (int code = 0; code < KEY_FLAG_COUNT; ++code) {
        const bool bound = code == settings.keys[KEY_BACKWARD1] || code == settings.keys[KEY_RIGHT1] ||
                           code == settings.keys[KEY_JUMP1];
        if (!bound) {
            EXPECT_EQ(computer.pusher.keys[code], 0) << code;
        }
    }
}

// Coordinates near the ends of the int range: every product is wide (the
// sanitized build fails on any overflow).
TEST_F(PusherCraft, FarOutLevelsComputeWithoutOverflow) {
    load("block plain pos=2147000000,2140000000,2100000000 size=8000,500,20000 point=2146999000,2100010000,2\n"
         "block plain pos=2147000000,2140000000,2100020000 size=8000,500,20000 point=2146999000,2100030000,1 "
         "flags=PUSHER\n"
         "block plain pos=2147000000,2139997000,2100045000 size=8000,500,40000\n"
         "block plain pos=-2147000000,2140000000,2147000000 size=8000,500,400000\n");
    place(craft, 2146999000, 2140000150, 2100100000);
    craft.f_speed = 450;
    computer.onPusherSpawnPoint(level, 1);
    for (int i = 0; i < 300 && computer.pusherActive; ++i) computer.stepPusher(craft, level);
    EXPECT_GT(computer.pusher.z, 2100030000);
}

class BonusCraft : public ComputerPlay {};

TEST_F(BonusCraft, CannotBeCaughtWhileItsCooldownRunsThenGivesALife) {
    load(FLAT_FIELD);
    place(craft, 10, 150, 11000);
    computer.onBonusSpawnPoint(level, 2);
    ASSERT_TRUE(computer.bonusActive);
    place(computer.bonus, 10, 150, 11000);  // right on the player
    SimServices::ticks = 2000;              // a multiple of 200: the cooldown starts
    computer.stepBonus(craft, level);
    EXPECT_EQ(computer.bonus.catchCooldown, 100);
    SimServices::ticks = 2001;
    for (int i = 0; i < 99; ++i) computer.stepBonus(craft, level);
    EXPECT_TRUE(computer.bonusActive);
    EXPECT_EQ(craft.lives, 6);
    EXPECT_EQ(services.mixer.count(SOUND_LIFE), 0);
    computer.stepBonus(craft, level);  // the cooldown has run out
    EXPECT_FALSE(computer.bonusActive);
    EXPECT_EQ(craft.lives, 7);
    EXPECT_EQ(services.mixer.count(SOUND_LIFE), 1);
}

TEST_F(BonusCraft, SkillFromTheFileIsClamped) {
    for (int stored : {-3, 0, 2, 7, 2000000000}) {
        load("block plain pos=4000,0,0 size=8000,500,50000 point=10,3000," + std::to_string(stored) +
             " flags=BONUS\n");
        place(craft, 10, 150, 3000);
        computer.onBonusSpawnPoint(level, 0);
        const int skill = stored < 0 ? 0 : stored > 2 ? 2 : stored;
        EXPECT_EQ(computer.bonus.phase, skill) << stored;
        place(computer.bonus, 10, 150, 3000);
        SimServices::ticks = uint32_t(200 - 10 * skill) * 7;
        computer.stepBonus(craft, level);
        EXPECT_EQ(computer.bonus.catchCooldown, 100 + 40 * skill) << stored;
    }
}

TEST_F(BonusCraft, GivesWayToAPusherAndWaitsForNoCraft) {
    load(FLAT_FIELD);
    computer.onBonusSpawnPoint(level, 2);
    EXPECT_TRUE(computer.bonusActive);
    computer.onPusherSpawnPoint(level, 1);
    EXPECT_FALSE(computer.bonusActive);
    EXPECT_TRUE(computer.pusherActive);
    computer.onBonusSpawnPoint(level, 2);
    EXPECT_FALSE(computer.bonusActive);
    computer.removeAll();
    EXPECT_FALSE(computer.anyActive());
    EXPECT_EQ(computer.route.nextBlock, NO_BLOCK);
}

// The computer step against the player's: the same phases, the stated differences.
class ComputerPhysics : public ComputerPlay {
protected:
    void SetUp() override {
        load("block plain pos=4000,0,0 size=8000,500,20000 point=10,1000,0 flags=PUSHER\n"
             "block CRAZY pos=4000,0,20000 size=8000,500,2000\n"
             "block HURT pos=4000,0,22000 size=8000,500,2000\n"
             "block ICE pos=4000,0,24000 size=8000,500,2000\n");
    }
    Craft& spawned(int kind, int32_t z) {
        computer.spawn(kind, level, 0);
        Craft& k = kind == CRAFT_KIND_PUSHER ? computer.pusher : computer.bonus;
        place(k, 10, 150, z);
        return k;
    }
};

TEST_F(ComputerPhysics, LandingRecordsTheBlockAndIsSilent) {
    Craft& k = spawned(CRAFT_KIND_PUSHER, 1000);
    k.ypos = k.prevY = 200;  // as spawned: 50 above the top
    EXPECT_EQ(k.camX, NO_BLOCK);
    int steps = 0;
    while (k.camX == NO_BLOCK && steps < 10) {
        ASSERT_TRUE(computerPhysicsStep(k, level));
        ++steps;
    }
    EXPECT_EQ(k.camX, 0);
    EXPECT_EQ(k.v_speed, 0);
    EXPECT_EQ(k.ypos, 150);
    EXPECT_EQ(services.mixer.count(SOUND_BUMP), 0);
}

TEST_F(ComputerPhysics, NoAirControlAndFixedSteering) {
    Craft& k = spawned(CRAFT_KIND_PUSHER, 1000);
    k.ypos = k.prevY = 5000;
    k.f_speed = 300;
    k.camX = 0;
    setKeyHeld(k, computerKeys.forward, true);
    setKeyHeld(k, computerKeys.left, true);
    computerPhysicsStep(k, level);
    EXPECT_EQ(k.f_speed, 300);
    EXPECT_EQ(k.s_speed, 0);
    EXPECT_EQ(k.v_speed, -8);
    EXPECT_EQ(k.camX, 0);  // kept while airborne
    place(k, 10, 150, 1000);
    k.f_speed = 300;
    setKeyHeld(k, computerKeys.forward, false);
    computerPhysicsStep(k, level);
    EXPECT_EQ(k.s_speed, 95);  // a player would get 40 + 70
    EXPECT_EQ(k.x, 10 + 95);
    EXPECT_EQ(k.phase, 0);  // the skill: no start detection
}

TEST_F(ComputerPhysics, OnlyThePusherJumpsAloudAndTheJumpKeyIsReleased) {
    Craft& pusher = spawned(CRAFT_KIND_PUSHER, 1000);
    setKeyHeld(pusher, computerKeys.jump, true);
    computerPhysicsStep(pusher, level);
    EXPECT_EQ(pusher.v_speed, JUMP_SPEED);
    EXPECT_FALSE(keyHeld(pusher, computerKeys.jump));
    EXPECT_EQ(services.mixer.count(SOUND_JUMP), 1);
    Craft& bonus = spawned(CRAFT_KIND_BONUS, 1000);
    setKeyHeld(bonus, computerKeys.jump, true);
    computerPhysicsStep(bonus, level);
    EXPECT_EQ(bonus.v_speed, JUMP_SPEED);
    EXPECT_EQ(services.mixer.count(SOUND_JUMP), 1);
}

TEST_F(ComputerPhysics, CrazyTurnsNoViewAndHurtCostsOnlyThePusher) {
    Craft& pusher = spawned(CRAFT_KIND_PUSHER, 21000);
    computerPhysicsStep(pusher, level);
    EXPECT_EQ(pusher.camUp[1], 1);
    place(pusher, 10, 150, 23000);
    computerPhysicsStep(pusher, level);
    EXPECT_EQ(pusher.health, 97);
    pusher.health = 2;
    EXPECT_FALSE(computerPhysicsStep(pusher, level));
    Craft& bonus = spawned(CRAFT_KIND_BONUS, 23000);
    EXPECT_TRUE(computerPhysicsStep(bonus, level));
    EXPECT_EQ(bonus.health, 100);
}

TEST_F(ComputerPhysics, IceSteeringHasNoSpeedGrip) {
    Craft& k = spawned(CRAFT_KIND_PUSHER, 25000);
    k.f_speed = 330;  // a player would get 330 / 55 = 6 more
    setKeyHeld(k, computerKeys.left, true);
    computerPhysicsStep(k, level);
    EXPECT_EQ(k.s_speed, 8);
    computerPhysicsStep(k, level);
    EXPECT_EQ(k.s_speed, 8 + 15);
    k.s_speed = 120;  // beyond 100 the left key does nothing
    computerPhysicsStep(k, level);
    EXPECT_EQ(k.s_speed, 120);
}

TEST_F(ComputerPhysics, FallAndCrashEndTheCraft) {
    Craft& k = spawned(CRAFT_KIND_BONUS, 1000);
    k.v_speed = -441;
    EXPECT_FALSE(computerPhysicsStep(k, level));
    EXPECT_EQ(services.mixer.count(SOUND_EXPLODE), 1);
    load("block plain pos=4000,0,0 size=8000,500,2000 point=10,1000,0 flags=PUSHER\n"
         "block plain pos=4000,1000,2000 size=8000,2000,2000\n");
    Craft& pusher = spawned(CRAFT_KIND_PUSHER, 1800);
    pusher.f_speed = 300;
    pusher.camX = 0;
    EXPECT_TRUE(computerPhysicsStep(pusher, level));  // its front is not there yet
    EXPECT_FALSE(computerPhysicsStep(pusher, level));
    EXPECT_EQ(services.mixer.count(SOUND_EXPLODE), 1);
}

}  // namespace

namespace {

// What the single-player frame hands to drawComputerObjects.
class ComputerObjectsViewTest : public ComputerPlay {};

TEST_F(ComputerObjectsViewTest, NothingRunningDrawsNothing) {
    load(FLAT_FIELD);
    PongBallView ballView;
    ComputerObjectsView view = computerObjectsView(level, computer, ballView);
    EXPECT_EQ(view.ball, nullptr);
    EXPECT_EQ(view.court, nullptr);
    EXPECT_EQ(view.computerPaddleX, PONG_PADDLE_IDLE_X);
    EXPECT_EQ(view.pusher, nullptr);
    EXPECT_EQ(view.bonus, nullptr);
    EXPECT_EQ(view.referenceBlockIndex, -1);
}

TEST_F(ComputerObjectsViewTest, ActivePusherWithItsBlocksAndProbe) {
    load(PUSHER_TRACK);
    setKeyHeld(craft, keys.forward, true);
    for (int i = 0; i < 60; ++i) step();
    ASSERT_TRUE(computer.pusherActive);
    PongBallView ballView;
    ComputerObjectsView view = computerObjectsView(level, computer, ballView);
    EXPECT_EQ(view.pusher, &computer.pusher);
    EXPECT_EQ(view.pusherBlockIndex, 1);
    EXPECT_EQ(view.referenceBlockIndex, 1);
    EXPECT_EQ(view.pusherProbeDistance, std::min<int64_t>(computer.route.forwardReach, 30000));
    EXPECT_GT(view.pusherProbeDistance, 0);
    EXPECT_EQ(view.bonus, nullptr);
}

TEST_F(ComputerObjectsViewTest, BonusStarIsBlendedWhileItCannotBeCaught) {
    load(FLAT_FIELD);
    computer.onBonusSpawnPoint(level, 2);
    computer.bonus.catchCooldown = 40;
    computer.bonusAngle = 88;
    PongBallView ballView;
    ComputerObjectsView view = computerObjectsView(level, computer, ballView);
    ASSERT_EQ(view.bonus, &computer.bonus);
    EXPECT_EQ(view.bonusAngle, 88);
    EXPECT_EQ(view.bonusFade, 40);
    EXPECT_FLOAT_EQ(view.bonusColour[0], 0.6f);
    computer.bonus.catchCooldown = 0;
    view = computerObjectsView(level, computer, ballView);
    EXPECT_EQ(view.bonusFade, 0);
    EXPECT_FLOAT_EQ(view.bonusColour[0], 1.0f);
    EXPECT_FLOAT_EQ(view.bonusColour[1], 0.8f);
}

TEST_F(ComputerObjectsViewTest, PongBallPaddleAndCourt) {
    load("block plain pos=2000,0,0 size=4000,500,3000\n"
         "block plain pos=2000,-3000,0 size=4000,500,12000 point=10,11000,1 flags=PONG\n"
         "block plain pos=2000,0,13000 size=4000,500,3000\n");
    step();
    ASSERT_TRUE(computer.pong.running());
    step();
    PongBallView ballView;
    ComputerObjectsView view = computerObjectsView(level, computer, ballView);
    ASSERT_EQ(view.ball, &ballView);
    EXPECT_EQ(view.court, &level.blocks[1]);
    EXPECT_EQ(view.computerPaddleX, computer.pong.computerPaddleX());
    EXPECT_EQ(ballView.z, computer.pong.ball().z);
    EXPECT_EQ(ballView.trail[0][2], computer.pong.ball().trail[0][2]);
    EXPECT_EQ(ballView.trail[4][0], computer.pong.ball().trail[4][0]);
    EXPECT_EQ(ballView.spin, computer.pong.ball().spin);
}

}  // namespace
