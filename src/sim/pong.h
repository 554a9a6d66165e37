#pragma once

#include <cstdint>

#include "level/level.h"
#include "sim/block_window.h"
#include "sim/craft.h"
#include "sim/physics.h"

// The pong game on a court block (FLAG_PONG): the held craft is the near
// paddle, a computer paddle defends the far end (pointY), every other block
// is an obstacle. The court's pointX is the serving x, pointZ the computer's
// difficulty (0 easy, 1 medium, 2 hard; other values are clamped).

constexpr int PONG_TRAIL_LENGTH = 5;
constexpr int32_t PONG_PADDLE_IDLE_X = -1000;
// A ball that has not come back to the player for this many steps (30
// seconds of play) ends the rally as a lost serve: a ball trapped between
// obstacles and the computer paddle must not hold the craft for ever.
constexpr int PONG_RALLY_LIMIT_STEPS = 1500;

struct PongBall {
    int32_t x = 0, y = 0, z = 0;  // y stays at the court's top + 200
    int32_t trail[PONG_TRAIL_LENGTH][3] = {};  // previous positions, newest first
    int32_t vx = 0, vy = 0, vz = 0;            // per step; vy stays 0
    int32_t spin = 0;                          // added to vx every step
    int court = -1;                            // index of the court block
};

// What the play state does when the player lets the ball pass: with one
// life left its death routine, otherwise one life less.
class PongHooks {
public:
    virtual ~PongHooks() = default;
    virtual void onPongLost(Craft& player) = 0;
};

// The computer's difficulty a court block sets: 0 easy .. 2 hard.
int courtDifficulty(const BlockBody& court);

enum class PongOutcome { NotRunning, Playing, Won, Lost };

class PongGame {
public:
    bool running() const { return running_; }
    const PongBall& ball() const { return ball_; }
    int32_t computerPaddleX() const { return paddleX_; }
    int difficulty() const { return difficulty_; }

    // Serves from the court block (the ground scan has already set the
    // craft's holdTimer to -10000). Does nothing while a game runs or when
    // the index names no block.
    void start(const Level& level, int courtIndex);
    // One step, after the computer crafts. `playerKeys`: the keys the player
    // steers with (left and right put spin on a return). Won and lost set
    // the player's holdTimer to -10 and end the game; a loss calls the hook.
    PongOutcome step(Craft& player, const Level& level, const ControlKeys& playerKeys, PongHooks& hooks);
    // Ends any game; the computer paddle goes idle.
    void remove();
    // Puts the running game's ball (and the computer paddle) in a chosen
    // state: tests set up a rally this way. The court stays the game's and
    // the rally counts from this ball.
    void setBall(const PongBall& ball, int32_t computerPaddleX);

    // The aim of the medium (10 steps) and hard (20 steps) computer paddle:
    // where the ball will be in x, reflected off the blocks after the court
    // and off the court's walls.
    int64_t predictX(const Level& level, int steps) const;

private:
    void bounceOffBlocks(const Level& level);
    void advanceBall();
    int moveComputerPaddle(const Level& level);
    void bounceOffCourtWalls(const BlockCorner& court, int64_t width);
    void farEnd(const BlockBody& court, int paddleMove);
    void nearEnd(const Craft& player, const ControlKeys& playerKeys);
    PongOutcome end(Craft& player, PongOutcome outcome, PongHooks& hooks);

    bool running_ = false;
    PongBall ball_;
    int32_t paddleX_ = PONG_PADDLE_IDLE_X;
    int difficulty_ = 0;
    int rallySteps_ = 0;  // since the serve or the player's last return
    BlockZWindow window_;
};
