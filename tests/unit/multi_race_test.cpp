#include <gtest/gtest.h>

#include "modes/multi/race_run.h"
#include "modes/multi/split_hud.h"
#include "support/two_player_fixtures.h"

namespace {

// A wide straight run to a goal, 6000 long before it.
const char* const STRAIGHT_RACE =
    "block plain pos=1200,0,0 size=2400,500,6000\n"
    "block GOAL pos=1200,0,6000 size=2400,500,2000\n";
// A short plate: whoever drives on falls off its end.
const char* const SHORT_PLATE = "block plain pos=1200,0,0 size=2400,500,2000\n";

HeldKeys forward() {
    HeldKeys keys;
    keys.forward = true;
    return keys;
}


TEST_F(RaceLevel, CraftsStartSideBySideOnTheFirstBlock) {
    load(STRAIGHT_RACE, 3, 8);
    const Craft& a = race.players[0].craft;
    const Craft& b = race.players[1].craft;
    EXPECT_EQ(a.x, 0 - 250) << "A to the right of the middle (x 0)";
    EXPECT_EQ(b.x, 0 + 250);
    EXPECT_EQ(a.ypos, 150);
    EXPECT_EQ(a.z, 500);
    EXPECT_EQ(a.kind, 1);
    EXPECT_EQ(b.kind, 2);
    EXPECT_EQ(a.lives, 3);
    EXPECT_EQ(b.lives, 3);
    EXPECT_EQ(a.camZ, 500 - 5000);
    EXPECT_EQ(a.camY, 150 + 1500);
    EXPECT_EQ(race.players[0].longestRun, -99999999);
}

TEST_F(RaceLevel, AGoalScoresAPointCountsTheRunAndKeepsTheLife) {
    load(STRAIGHT_RACE, 3, 8);
    for (int i = 0; i < 400 && race.players[0].points == 0; ++i) steps(1, forward(), {});
    const RacePlayer& a = race.players[0];
    ASSERT_EQ(a.points, 1);
    EXPECT_EQ(a.craft.lives, 3);
    EXPECT_GE(a.distance, 6000 - 500) << "the run reached the goal block";
    EXPECT_EQ(a.longestRun, a.distance);
    EXPECT_EQ(a.craft.z, 500) << "back at the start";
    EXPECT_TRUE(services.mixer.played(1, SOUND_HURT));
    EXPECT_EQ(race.players[1].points, 0);
}

TEST_F(RaceLevel, LosingARunCostsALifeAndCountsItsDistance) {
    load(SHORT_PLATE, 2, 8);
    for (int i = 0; i < 400 && race.players[0].craft.lives == 2; ++i) steps(1, forward(), {});
    const RacePlayer& a = race.players[0];
    ASSERT_EQ(a.craft.lives, 1);
    EXPECT_GT(a.distance, 1500) << "the run over the plate counts";
    EXPECT_EQ(a.longestRun, a.distance);
    EXPECT_NE(a.longestRunY, 0) << "where the longest run ended is kept";
    EXPECT_EQ(services.mixer.count(SOUND_EXPLODE), 1);
    EXPECT_EQ(race.players[1].craft.lives, 2);
}

TEST_F(RaceLevel, AResetThrowsTheRunAwayWithoutCost) {
    load(STRAIGHT_RACE, 3, 8);
    steps(30, forward(), forward());
    ASSERT_GT(race.players[1].craft.z, 2000);
    race.respawn(PLAYER_B);
    EXPECT_EQ(race.players[1].craft.z, 500);
    EXPECT_EQ(race.players[1].distance, 0);
    EXPECT_EQ(race.players[1].craft.lives, 3);
    EXPECT_EQ(race.players[1].craft.f_speed, 0);
}

TEST_F(RaceLevel, WithOneLifeEachTheRaceEndsWhenBothHaveFallen) {
    load(SHORT_PLATE, 1, 8);
    // A falls first; B waits, then drives off too.
    for (int i = 0; i < 400 && race.players[0].craft.lives > 0; ++i) steps(1, forward(), {});
    ASSERT_EQ(race.players[0].craft.lives, 0);
    EXPECT_FALSE(race.over());
    const int32_t resting = race.players[0].craft.z;
    steps(20, forward(), {});
    EXPECT_EQ(race.players[0].craft.z, resting) << "a craft without lives takes no steps";
    for (int i = 0; i < 400 && !race.over(); ++i) steps(1, {}, forward());
    EXPECT_TRUE(race.over());
    EXPECT_EQ(race.players[1].craft.lives, 0);
}

TEST_F(RaceLevel, TheFirstMoveOfEitherCraftStartsTheLevelForBoth) {
    load(STRAIGHT_RACE + std::string("block plain pos=5000,0,9000 point=6000,0,9000 flags=MOVE period=2\n"), 3, 8);
    steps(5);
    EXPECT_EQ(race.players[0].craft.phase, 0);
    steps(2, {}, forward());
    EXPECT_EQ(race.players[0].craft.phase, 2);
    EXPECT_EQ(race.players[1].craft.phase, 2);
}

TEST_F(RaceLevel, LowerGravityJumpsFarther) {
    auto jumpLength = [this](int gravity) {
        race.start(3, gravity);
        HeldKeys jump = forward();
        steps(15, forward(), {});
        jump.jump = true;
        steps(1, jump, {});
        const int32_t takeOff = race.players[0].craft.z;
        int airSteps = 0;
        do {
            steps(1, forward(), {});
            ++airSteps;
        } while (race.players[0].craft.groundType < 0 && airSteps < 200);
        return race.players[0].craft.z - takeOff;
    };
    load("block plain pos=1200,0,0 size=2400,500,40000\n", 3, 8);
    const int32_t light = jumpLength(5);
    const int32_t heavy = jumpLength(10);
    EXPECT_GT(light, heavy + 1000);
}

TEST_F(RaceLevel, MissingEmptyOrDamagedLevelsAreRefused) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(race.loadLevel(temp.file("absent.slv")), -1);
    temp.write("empty.slv", "");
    EXPECT_EQ(race.loadLevel(temp.file("empty.slv")), -1);
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find("Level not found."), std::string::npos);
    EXPECT_FALSE(race.hasLevel());
    race.start(2, 8);
    steps(5, forward(), forward());
    EXPECT_FALSE(race.over()) << "nothing reads a block that is not there";
}

class RaceContact : public RaceLevel {
protected:
    void SetUp() override {
        RaceLevel::SetUp();
        load("block plain pos=3000,0,0 size=6000,500,40000\n", 3, 8);
    }
    // Both crafts side by side at the same height and z, `gap` apart in x.
    void placeApart(int gap) {
        Craft& a = race.players[0].craft;
        Craft& b = race.players[1].craft;
        a.x = a.camX = 0;
        b.x = b.camX = gap;
        a.z = b.z = 5000;
        a.ypos = b.ypos = 150;
    }
};

TEST_F(RaceContact, CloseCraftsBumpShareSpeedAndEnd442Apart) {
    placeApart(300);
    race.players[0].craft.f_speed = 100;
    race.players[1].craft.f_speed = 301;
    ASSERT_TRUE(race.contact());
    const Craft& a = race.players[0].craft;
    const Craft& b = race.players[1].craft;
    EXPECT_EQ(a.f_speed, 100 + 201 / 2);
    EXPECT_EQ(b.f_speed, 301);
    EXPECT_EQ(b.x - a.x, 300 - 2 * ((300 - 442) / 2)) << "442 apart, or 441 by the integer halves";
    EXPECT_EQ(a.camX, a.x);
    EXPECT_EQ(b.camX, b.x);
    EXPECT_EQ(services.mixer.count(SOUND_BUMP), 1);
}

TEST_F(RaceContact, ACraftOnTheLeftIsPushedFurtherLeft) {
    placeApart(-100);  // B on the -x side of A
    ASSERT_TRUE(race.contact());
    EXPECT_GE(race.players[0].craft.x - race.players[1].craft.x, 441);
}

TEST_F(RaceContact, NoContactAt440OrWhileACraftIsHeld) {
    placeApart(440);
    EXPECT_FALSE(race.contact());
    placeApart(200);
    race.players[1].craft.holdTimer = 1;
    EXPECT_FALSE(race.contact());
    EXPECT_EQ(services.mixer.count(SOUND_BUMP), 0);
}

TEST_F(RaceContact, RunsOncePerPhysicsStepNotPerFrame) {
    placeApart(200);
    // Frames too short for a step: no contact however many are drawn.
    race.players[0].accumulator.ms = race.players[1].accumulator.ms = 0;
    for (int i = 0; i < 10; ++i) race.update(1);
    EXPECT_EQ(services.mixer.count(SOUND_BUMP), 0);
    EXPECT_EQ(race.players[1].craft.x, 200);
    race.update(20);
    EXPECT_EQ(services.mixer.count(SOUND_BUMP), 1);
}

TEST(RaceWinner, PointsThenDistanceThenADraw) {
    RacePlayer a, b;
    a.points = 2;
    b.points = 3;
    a.distance = 900000;
    EXPECT_EQ(raceWinner(a, b), PLAYER_B) << "points before distance";
    b.points = 2;
    EXPECT_EQ(raceWinner(a, b), PLAYER_A);
    b.distance = 900001;
    EXPECT_EQ(raceWinner(a, b), PLAYER_B);
    b.distance = 900000;
    EXPECT_EQ(raceWinner(a, b), RACE_DRAW) << "equal points and distance: nobody wins";
    EXPECT_EQ(raceResultLine(RACE_DRAW), "A draw: equal points, equal distance.");
    EXPECT_EQ(raceResultLine(PLAYER_B), "Congratulations Player 1 - you win.") << "craft B is Player 1";
    EXPECT_EQ(castleResultLine(PLAYER_A), "Congratulations Player 2 - you win.");
}

}  // namespace
