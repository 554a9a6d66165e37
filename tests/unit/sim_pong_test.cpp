// The pong game: serve, bounces, the computer paddle, the court walls, won
// and lost games in the single-player step order, and the bounded rally.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>

#include "sim/block_window.h"
#include "sim/pong.h"
#include "support/computer_play.h"
#include "support/sim_levels.h"

namespace {

// The craft rolls off the start block and drops onto the court below; over
// the court the game starts and holds it (f_speed 0). The far end is at
// z 9000, the serve 700 before it.
std::string courtLevel(int difficulty, const std::string& extra = "") {
    return "block plain pos=2000,0,0 size=4000,500,1000\n"
           "block plain pos=2000,-1000,2000 size=4000,500,8000 point=10,9000," +
           std::to_string(difficulty) + " flags=PONG\n" + extra +
           "block plain pos=2000,-1000,10000 size=4000,500,20000\n";
}

class Pong : public ComputerPlay {
protected:
    // Loads the court level and drives onto the court; the game is running
    // and the craft stands on the court when this returns.
    void startOnCourt(int difficulty, const std::string& extra = "") {
        load(courtLevel(difficulty, extra));
        craft.f_speed = 200;
        int steps = stepUntil([&] { return computer.pong.running() && craft.groundType >= 0; }, 100);
        ASSERT_LT(steps, 100);
        ASSERT_EQ(craft.holdTimer, HOLD_BY_PONG);
    }
    const PongBall& ball() { return computer.pong.ball(); }
    int32_t paddle() { return computer.pong.computerPaddleX(); }
    PongOutcome stepPong() { return computer.pong.step(craft, level, singleRules.keys, *this); }
};

TEST_F(Pong, ServesTowardThePlayerAt200WithASideways20) {
    load(courtLevel(0));
    craft.f_speed = 200;
    stepUntil([&] { return singleHooks.pongStarts > 0; }, 50);
    ASSERT_TRUE(computer.pong.running());
    EXPECT_EQ(craft.f_speed, 0);
    // The step that started it also served: no move yet, the speed set.
    EXPECT_EQ(ball().x, 10);
    EXPECT_EQ(ball().y, -1000 + 200);
    EXPECT_EQ(ball().z, 9000 - 700);
    EXPECT_EQ(ball().vz, -200);
    EXPECT_EQ(ball().vx, 20);  // the tick count is even
    EXPECT_EQ(paddle(), 10);
    for (const auto& entry : ball().trail) EXPECT_EQ(entry[2], 8300);
    step();
    EXPECT_EQ(ball().z, 8100);
    EXPECT_EQ(ball().x, 30);
    step();
    EXPECT_EQ(ball().trail[0][2], 8100);
    EXPECT_EQ(ball().trail[1][2], 8300);
}

TEST_F(Pong, EasyPaddleFollowsOnlyFromFarAwayAt81) {
    startOnCourt(0);
    PongBall b = ball();
    b.x = 300;
    b.vx = 0;
    b.z = 5000;
    computer.pong.setBall(b, 10 + 182 + 300 - 10);  // 182 away from the ball: stays
    stepPong();
    EXPECT_EQ(paddle(), 482);
    b = ball();
    computer.pong.setBall(b, 300 + 183);
    stepPong();
    EXPECT_EQ(paddle(), 300 + 183 - 81);
}

// Each wall of the court (x -2000..2000) sends a ball that crosses it with
// almost no sideways speed back into the court at 10.
TEST_F(Pong, BallCreepingAlongACourtWallLeavesItAt10) {
    startOnCourt(0);
    const struct {
        int32_t x, vx, leavingVx, putBackX;
    } walls[] = {
        {1998, 3, -10, 2000 - 200},    // the +x wall
        {-1998, -3, 10, -2000 + 200},  // the -x wall
    };
    for (const auto& wall : walls) {
        SCOPED_TRACE(wall.x);
        PongBall b = ball();
        b.x = wall.x;
        b.vx = wall.vx;
        b.vz = -200;
        b.spin = 0;
        b.z = 5000;
        computer.pong.setBall(b, wall.x);
        services.mixer.clear();
        stepPong();
        EXPECT_EQ(ball().vx, wall.leavingVx);
        EXPECT_EQ(ball().x, wall.putBackX);
        EXPECT_EQ(services.mixer.count(SOUND_PONG1), 1);
    }
}

TEST_F(Pong, BouncesOffTheFarFaceOfAnObstacle) {
    // A wall across the court from z 4000 to 4600.
    startOnCourt(0, "block plain pos=2000,-600,4000 size=4000,300,600\n");
    int32_t before = ball().z;
    ASSERT_GT(before, 4800);
    services.mixer.clear();
    while (ball().vz < 0 && computer.pong.running()) stepPong();
    EXPECT_EQ(ball().z, 4600 + 200 + 200);  // put back at the face, then moved on
    EXPECT_EQ(ball().vz, 200);
    EXPECT_GE(services.mixer.count(SOUND_PONG1), 1);
}

TEST_F(Pong, WonWhenTheBallPassesTheComputerPaddle) {
    startOnCourt(1);
    PongBall b = ball();
    b.x = 1500;
    b.z = 8500;
    b.vx = 0;
    b.vz = 200;
    computer.pong.setBall(b, -1500);  // far off to the other side
    PongOutcome outcome = PongOutcome::Playing;
    int steps = 0;
    while (outcome == PongOutcome::Playing && steps < 10) {
        outcome = stepPong();
        ++steps;
    }
    EXPECT_EQ(outcome, PongOutcome::Won);
    EXPECT_EQ(steps, 3);  // its back (z - 200) passes 250 before the far end
    EXPECT_FALSE(computer.pong.running());
    EXPECT_EQ(paddle(), PONG_PADDLE_IDLE_X);
    EXPECT_EQ(craft.holdTimer, HOLD_PONG_RELEASED);
    EXPECT_EQ(pongLosses, 0);
    EXPECT_EQ(craft.lives, 6);
    // Released: the craft drives on, and the court does not hold it again.
    setKeyHeld(craft, keys.forward, true);
    for (int i = 0; i < 5; ++i) step();
    EXPECT_GT(craft.f_speed, 0);
    EXPECT_FALSE(computer.pong.running());
}

TEST_F(Pong, LostWhenThePlayerLetsTheBallPassCostsALife) {
    startOnCourt(0);
    setKeyHeld(craft, keys.left, true);  // steer away from the ball, to the court's +x wall
    int steps = stepUntil([&] { return !computer.pong.running(); }, 200);
    ASSERT_LT(steps, 200);
    EXPECT_EQ(pongLosses, 1);
    EXPECT_EQ(craft.lives, 5);
    EXPECT_EQ(craft.holdTimer, HOLD_PONG_RELEASED);
    EXPECT_EQ(paddle(), PONG_PADDLE_IDLE_X);
    EXPECT_LE(craft.x, 2000 - 50 + 95);
    EXPECT_TRUE(singleHooks.deaths.empty());
}

TEST_F(Pong, LosingWithTheLastLifeRunsTheDeathRoutine) {
    startOnCourt(2);
    craft.lives = 1;
    setKeyHeld(craft, keys.left, true);
    stepUntil([&] { return pongLosses > 0; }, 300);
    ASSERT_EQ(pongLosses, 1);
    EXPECT_EQ(singleHooks.deaths.size(), 1u);
    EXPECT_EQ(craft.z, 500);  // back at the level start
    EXPECT_FALSE(computer.pong.running());
}

// A wall across the court sends every ball back to the computer paddle,
// which returns it: the rally is ended as a lost serve, so the player is
// not held for ever.
TEST_F(Pong, TrappedRallyEndsAsALostServe) {
    startOnCourt(0, "block plain pos=2000,-600,3000 size=4000,300,600\n");
    int steps = 0;
    PongOutcome outcome = PongOutcome::Playing;
    while (outcome == PongOutcome::Playing && steps < 5000) {
        outcome = stepPong();
        ++steps;
    }
    EXPECT_EQ(outcome, PongOutcome::Lost);
    EXPECT_GT(steps, PONG_RALLY_LIMIT_STEPS - 100);
    EXPECT_LE(steps, PONG_RALLY_LIMIT_STEPS + 1);
    EXPECT_EQ(pongLosses, 1);
    EXPECT_EQ(craft.holdTimer, HOLD_PONG_RELEASED);
}

TEST_F(Pong, DifficultyFromTheFileIsClampedAndAnotherGameWaits) {
    startOnCourt(9);
    EXPECT_EQ(computer.pong.difficulty(), 2);
    PongBall b = ball();
    computer.pong.start(level, 0);  // a game runs: nothing changes
    EXPECT_EQ(ball().z, b.z);
    EXPECT_EQ(ball().court, 1);
    computer.removeAll();
    EXPECT_FALSE(computer.pong.running());
    EXPECT_EQ(paddle(), PONG_PADDLE_IDLE_X);
}

// The medium and hard paddles aim where the ball will be, reflected off the
// court's walls.
TEST_F(Pong, PredictionReflectsOffTheCourtWall) {
    startOnCourt(1);
    PongBall b = ball();
    b.x = 1500;
    b.z = 6000;
    b.vx = 100;
    b.vz = 200;
    computer.pong.setBall(b, 0);
    // 1500 + 1000 = 2500: 300 beyond the wall's reach (2000 - 200), mirrored back.
    EXPECT_EQ(computer.pong.predictX(level, 10), 2 * 2000 - 2500 - 200);
    b.vx = 10;
    computer.pong.setBall(b, 0);
    EXPECT_EQ(computer.pong.predictX(level, 10), 1600);
}

// The ball passes the +x face of a block ahead: the aim is reflected back
// to the +x side of it (tx 0 -> 1200), clear of the block's near face, so
// that face leaves tz alone; the wall beside the reflected aim (its -x face
// at 1350) then meets it and reflects it to 1300. Tested with the aim from
// before the side reflection, the near face would reflect tz back to 4800,
// where the wall no longer lies.
TEST_F(Pong, PredictionTestsTheEndFacesWhereTheSideReflectionsLeftTheAim) {
    startOnCourt(1, "block plain pos=500,-600,6000 size=500,300,2000\n"
                    "block plain pos=1850,-600,6900 size=500,300,200\n");
    PongBall b = ball();
    b.x = 1000;
    b.z = 5000;
    b.vx = -100;
    b.vz = 200;
    computer.pong.setBall(b, 0);
    EXPECT_EQ(computer.pong.predictX(level, 10), 1300);
}

// The window lookup must find every block a test of all blocks in order
// could find: random levels, moving blocks, malformed lengths.
TEST(BlockZWindow, FindsEveryBlockThatMayMeetTheWindow) {
    std::mt19937 random(11);
    for (int round = 0; round < 200; ++round) {
        Level level;
        const int count = 1 + int(random() % 40);
        for (int i = 0; i < count; ++i) {
            Block block;
            BlockBody& b = block.body;
            b.z = int32_t(random() % 20000) - 5000 + (round % 2 ? i * 500 : 0);
            b.length = int32_t(random() % 3000) - (random() % 8 == 0 ? 4000 : 0);
            if (random() % 4 == 0) {
                b.movePeriod = 1 + int(random() % 3);
                b.pointX = 1;
                b.pointZ = b.z + int32_t(random() % 6000) - 3000;
                b.moving = 1;
                b.moveTime = int32_t(random() % 300);
            }
            level.blocks.push_back(block);
        }
        BlockZWindow window;
        window.build(level);
        ASSERT_TRUE(window.builtFor(level));
        const int64_t lo = int64_t(random() % 24000) - 6000;
        const int64_t hi = lo + int64_t(random() % 3000);
        std::vector<int> found;
        for (int i = window.next(0, lo, hi); i < count; i = window.next(i + 1, lo, hi)) found.push_back(i);
        for (int i = 0; i < count; ++i) {
            const BlockBody& b = level.blocks[size_t(i)].body;
            for (int t = 0; t <= (b.movePeriod ? int(b.movePeriod) * 500 : 0); t += 7) {
                const BlockCorner at = blockCornerAt(b, t);
                const int64_t a = at.z, e = int64_t(at.z) + b.length;
                if (std::min(a, e) <= hi && std::max(a, e) >= lo) {
                    EXPECT_TRUE(std::find(found.begin(), found.end(), i) != found.end()) << round << " " << i;
                    break;
                }
            }
        }
    }
}

}  // namespace
