#include "sim/pong.h"

#include <algorithm>
#include <cstdlib>

#include "core/services.h"
#include "sim/arithmetic.h"

// Positions are compared in 64 bits and stored wrapped, as the craft's are:
// a court from a hostile file may sit at the ends of the int range.

namespace {

constexpr int BALL_HALF = 200;         // ball and paddles, for the block bounces
constexpr int SERVE_SPEED = 200;
constexpr int SERVE_SIDE = 20;
constexpr int BALL_ABOVE_COURT = 200;
constexpr int SERVE_BACK = 700;        // the serve starts this far before the far end
constexpr int END_MARGIN = 250;
constexpr int PADDLE_REACH = 450;
constexpr int WALL_MIN_SIDE = 10;      // a ball never creeps along a court wall

void pongSound() { playSound(ANY_CHANNEL, SOUND_PONG1); }

}  // namespace

int courtDifficulty(const BlockBody& court) { return std::clamp<int32_t>(court.pointZ, 0, 2); }

void PongGame::start(const Level& level, int courtIndex) {
    if (running_ || !level.validIndex(courtIndex)) return;
    const BlockBody& court = level.blocks[size_t(courtIndex)].body;
    ball_ = PongBall{};
    ball_.x = court.pointX;
    ball_.y = wrapped(int64_t(court.y) + BALL_ABOVE_COURT);
    ball_.z = wrapped(int64_t(court.pointY) - SERVE_BACK);
    for (auto& entry : ball_.trail) {
        entry[0] = ball_.x;
        entry[1] = ball_.y;
        entry[2] = ball_.z;
    }
    ball_.court = courtIndex;
    paddleX_ = court.pointX;
    difficulty_ = courtDifficulty(court);
    rallySteps_ = 0;
    if (!window_.builtFor(level)) window_.build(level);
    running_ = true;
}

void PongGame::remove() {
    running_ = false;
    ball_ = PongBall{};
    paddleX_ = PONG_PADDLE_IDLE_X;
    rallySteps_ = 0;
}

void PongGame::setBall(const PongBall& ball, int32_t computerPaddleX) {
    if (!running_) return;
    const int court = ball_.court;
    ball_ = ball;
    ball_.court = court;
    paddleX_ = computerPaddleX;
    rallySteps_ = 0;  // a placed ball starts a new rally
}

// Every block but the court is an obstacle, whatever its height; only the
// blocks whose z extent meets the ball's path can be hit.
void PongGame::bounceOffBlocks(const Level& level) {
    int64_t x = ball_.x, z = ball_.z;
    const int64_t px = ball_.trail[0][0], pz = ball_.trail[0][2];
    // The bounces keep z between its old and new values.
    const int64_t lo = std::min(z, pz) - BALL_HALF, hi = std::max(z, pz) + BALL_HALF;
    for (int i = window_.next(0, lo, hi); i < level.blockCount(); i = window_.next(i + 1, lo, hi)) {
        if (i == ball_.court) continue;
        const BlockBody& body = level.blocks[size_t(i)].body;
        const BlockCorner at = blockCorner(body);
        const int64_t bx = at.x, bz = at.z, width = body.width, length = body.length;
        if (x - BALL_HALF < bx && bx <= px - BALL_HALF && bz <= z + BALL_HALF && z - BALL_HALF <= bz + length) {
            x = bx + BALL_HALF;
            ball_.vx = wrapped(-int64_t(ball_.vx));
            pongSound();
        }
        if (bx - width < x + BALL_HALF && px + BALL_HALF <= bx - width && bz <= z + BALL_HALF &&
            z - BALL_HALF <= bz + length) {
            x = bx - width - BALL_HALF;
            ball_.vx = wrapped(-int64_t(ball_.vx));
            pongSound();
        }
        if (bz < z + BALL_HALF && pz + BALL_HALF <= bz && bx - width <= x + BALL_HALF && x - BALL_HALF <= bx) {
            z = bz - BALL_HALF;
            ball_.vz = wrapped(-int64_t(ball_.vz));
            pongSound();
        }
        if (z - BALL_HALF < bz + length && bz + length <= pz - BALL_HALF && bx - width <= x + BALL_HALF &&
            x - BALL_HALF <= bx) {
            z = bz + length + BALL_HALF;
            ball_.vz = wrapped(-int64_t(ball_.vz));
            pongSound();
        }
    }
    ball_.x = wrapped(x);
    ball_.z = wrapped(z);
}

void PongGame::advanceBall() {
    for (int i = PONG_TRAIL_LENGTH - 1; i > 0; --i) std::copy(ball_.trail[i - 1], ball_.trail[i - 1] + 3, ball_.trail[i]);
    ball_.trail[0][0] = ball_.x;
    ball_.trail[0][1] = ball_.y;
    ball_.trail[0][2] = ball_.z;
    moveBy(ball_.x, ball_.vx);
    moveBy(ball_.y, ball_.vy);
    moveBy(ball_.z, ball_.vz);
    if (ball_.vx == 0 && ball_.vy == 0 && ball_.vz == 0) {
        ball_.vz = -SERVE_SPEED;
        ball_.vx = currentTicks() % 2 == 0 ? SERVE_SIDE : -SERVE_SIDE;
    }
}

int64_t PongGame::predictX(const Level& level, int steps) const {
    const BlockBody& court = level.blocks[size_t(ball_.court)].body;
    const int64_t ballX = ball_.x, ballZ = ball_.z;
    int64_t tx = ballX + int64_t(ball_.vx) * steps;
    int64_t tz = ballZ + int64_t(ball_.vz) * steps;
    auto lo = [&] { return std::min(ballZ, tz) - BALL_HALF; };
    auto hi = [&] { return std::max(ballZ, tz) + BALL_HALF; };
    for (int i = window_.next(ball_.court + 1, lo(), hi()); i < level.blockCount();
         i = window_.next(i + 1, lo(), hi())) {
        const BlockBody& body = level.blocks[size_t(i)].body;
        const BlockCorner at = blockCorner(body);
        const int64_t bx = at.x, bz = at.z, width = body.width, length = body.length;
        const bool zOverlap = tz - BALL_HALF <= bz + length && bz <= tz + BALL_HALF;
        if (tx - BALL_HALF < bx && bx < ballX - BALL_HALF && zOverlap) tx = 2 * bx - tx + BALL_HALF;
        if (bx - width < tx + BALL_HALF && ballX + BALL_HALF < bx - width && zOverlap)
            tx = 2 * (bx - width) - tx - BALL_HALF;
        // The end faces meet the aim where the side reflections left it.
        const bool xOverlap = tx - BALL_HALF <= bx && bx - width <= tx + BALL_HALF;
        if (bz < tz + BALL_HALF && ballZ + BALL_HALF < bz && xOverlap) {
            // The medium paddle mirrors about the block's stored z.
            tz = difficulty_ == 2 ? 2 * bz - tz - BALL_HALF : int64_t(body.z) + bz - tz - BALL_HALF;
        }
        if (tz + BALL_HALF < bz + length && bz + length < ballZ + BALL_HALF && xOverlap)
            tz = 2 * (bz + length) - tz - BALL_HALF;
    }
    const BlockCorner courtAt = blockCorner(court);
    const int64_t cx = courtAt.x, width = court.width;
    if (cx < tx + BALL_HALF)
        tx = 2 * cx - tx - BALL_HALF;
    else if (tx - BALL_HALF < cx - width)
        tx = 2 * (cx - width) - tx + BALL_HALF;
    return tx;
}

// Returns the direction the paddle moved: +1 toward +x, -1 toward -x, 0.
int PongGame::moveComputerPaddle(const Level& level) {
    const BlockBody& court = level.blocks[size_t(ball_.court)].body;
    const int64_t paddle = paddleX_, ballX = ball_.x;
    const int64_t toFarEnd = std::llabs(int64_t(court.pointY) - ball_.z);
    int64_t step = 0;
    if (difficulty_ == 0) {
        if (ballX + 182 < paddle)
            step = -81;
        else if (paddle < ballX - 182)
            step = 81;
    } else if (difficulty_ == 1) {
        const int64_t aim = toFarEnd > 3000 && ball_.spin == 0 ? predictX(level, 10) : ballX;
        if (aim + 120 < paddle)
            step = -95;
        else if (paddle < aim - 120)
            step = 95;
    } else {
        const int64_t aim = toFarEnd > 2000 ? predictX(level, 20) : ballX;
        const double lead = double(toFarEnd) / 350.0;
        if (lead + double(aim + 110) < double(paddle))
            step = -97;
        else if (double(paddle) < double(aim - 110) - lead)
            step = 97;
    }
    moveBy(paddleX_, step);
    return step > 0 ? 1 : step < 0 ? -1 : 0;
}

void PongGame::bounceOffCourtWalls(const BlockCorner& court, int64_t width) {
    const int64_t cx = court.x, minusEdge = int64_t(court.x) - width;
    if (cx < int64_t(ball_.x) + BALL_HALF) {
        ball_.vx = wrapped(-int64_t(ball_.vx));
        pongSound();
        if (cx < ball_.x && -WALL_MIN_SIDE < ball_.vx && ball_.vx < WALL_MIN_SIDE) ball_.vx = -WALL_MIN_SIDE;
        ball_.x = wrapped(cx - BALL_HALF);
    }
    if (int64_t(ball_.x) - BALL_HALF < minusEdge) {
        ball_.vx = wrapped(-int64_t(ball_.vx));
        pongSound();
        if (ball_.x < minusEdge && -WALL_MIN_SIDE < ball_.vx && ball_.vx < WALL_MIN_SIDE) ball_.vx = WALL_MIN_SIDE;
        ball_.x = wrapped(minusEdge + BALL_HALF);
    }
}

// The computer paddle returns the ball and, by difficulty, puts spin on it.
void PongGame::farEnd(const BlockBody& court, int paddleMove) {
    const int64_t line = int64_t(court.pointY) - END_MARGIN;
    const int64_t z = ball_.z, x = ball_.x;
    const bool reached = z + BALL_HALF > line || z + ball_.vz + BALL_HALF > line;
    if (!reached || !(int64_t(paddleX_) - PADDLE_REACH < x + BALL_HALF && x - BALL_HALF < int64_t(paddleX_) + PADDLE_REACH))
        return;
    ball_.z = wrapped(int64_t(court.pointY) - PADDLE_REACH);
    ball_.vz = wrapped(-int64_t(ball_.vz));
    pongSound();
    const uint32_t ticks = currentTicks();
    int32_t& spin = ball_.spin;
    if (difficulty_ == 0) {
        if (spin != 0 && std::llabs(ball_.vx) > 20) ball_.vx = int32_t(double(ball_.vx) / 1.7);
        if (ticks % 3 != 0) spin = 0;
    } else if (difficulty_ == 1) {
        if (spin < -1 || spin > 1) {
            if (spin > 2) --spin;
            if (spin < -2) ++spin;
        } else {
            spin += paddleMove;
        }
    } else if (ticks % 3 != 0) {
        if (paddleMove > 0 && spin < 5) ++spin;
        if (paddleMove < 0 && spin > -5) --spin;
    }
}

// The player's craft returns the ball; a steering key held puts spin on it.
void PongGame::nearEnd(const Craft& player, const ControlKeys& playerKeys) {
    const int64_t line = int64_t(player.z) + END_MARGIN;
    const int64_t z = ball_.z, x = ball_.x;
    const bool reached = z - BALL_HALF < line || z + ball_.vz - BALL_HALF < line;
    if (!reached || !(int64_t(player.x) - PADDLE_REACH < x + 220 && x - 220 < int64_t(player.x) + PADDLE_REACH)) return;
    ball_.z = wrapped(int64_t(player.z) + PADDLE_REACH);
    ball_.vz = wrapped(-int64_t(ball_.vz));
    pongSound();
    rallySteps_ = 0;
    if (keyHeld(player, playerKeys.left) && ball_.spin >= -4)
        --ball_.spin;
    else if (keyHeld(player, playerKeys.right) && ball_.spin < 5)
        ++ball_.spin;
}

PongOutcome PongGame::end(Craft& player, PongOutcome outcome, PongHooks& hooks) {
    remove();
    player.holdTimer = HOLD_PONG_RELEASED;
    if (outcome == PongOutcome::Lost) hooks.onPongLost(player);
    return outcome;
}

PongOutcome PongGame::step(Craft& player, const Level& level, const ControlKeys& playerKeys, PongHooks& hooks) {
    if (!running_) return PongOutcome::NotRunning;
    if (!level.validIndex(ball_.court)) {  // another level was loaded under the game
        remove();
        return PongOutcome::NotRunning;
    }
    if (!window_.builtFor(level)) window_.build(level);
    const BlockBody& court = level.blocks[size_t(ball_.court)].body;
    bounceOffBlocks(level);
    advanceBall();
    const int paddleMove = moveComputerPaddle(level);
    bounceOffCourtWalls(blockCorner(court), court.width);
    farEnd(court, paddleMove);
    nearEnd(player, playerKeys);
    if (ball_.spin != 0) moveBy(ball_.vx, ball_.spin);
    if (int64_t(ball_.z) + BALL_HALF < int64_t(player.z) + END_MARGIN) return end(player, PongOutcome::Lost, hooks);
    if (int64_t(court.pointY) - END_MARGIN < int64_t(ball_.z) - BALL_HALF) return end(player, PongOutcome::Won, hooks);
    if (++rallySteps_ > PONG_RALLY_LIMIT_STEPS) return end(player, PongOutcome::Lost, hooks);
    return PongOutcome::Playing;
}
