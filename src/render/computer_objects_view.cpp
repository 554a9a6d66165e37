#include "render/computer_objects_view.h"

#include <algorithm>

namespace {
constexpr int64_t LONGEST_PROBE = 30000;
}  // namespace

PongBallView pongBallView(const PongBall& ball) {
    PongBallView view;
    view.x = ball.x;
    view.y = ball.y;
    view.z = ball.z;
    for (int i = 0; i < PONG_TRAIL_LENGTH; ++i)
        for (int axis = 0; axis < 3; ++axis) view.trail[i][axis] = ball.trail[i][axis];
    view.spin = ball.spin;
    return view;
}

ComputerObjectsView computerObjectsView(const Level& level, ComputerCrafts& computer, PongBallView& ballStorage) {
    ComputerObjectsView view;
    if (computer.pong.running() && level.validIndex(computer.pong.ball().court)) {
        ballStorage = pongBallView(computer.pong.ball());
        view.ball = &ballStorage;
        view.computerPaddleX = computer.pong.computerPaddleX();
        view.court = &level.blocks[size_t(computer.pong.ball().court)];
    }
    if (computer.pusherActive) {
        view.pusher = &computer.pusher;
        view.pusherProbeDistance = int(std::clamp<int64_t>(computer.route.forwardReach, 0, LONGEST_PROBE));
        view.pusherBlockIndex = computer.pusher.camX;
    }
    if (computer.bonusActive) {
        view.bonus = &computer.bonus;
        view.bonusAngle = computer.bonusAngle;
        const bool cooling = computer.bonus.catchCooldown > 0;
        view.bonusColour[0] = cooling ? 0.6f : 1.0f;
        view.bonusColour[1] = cooling ? 0.0f : 0.8f;
        view.bonusColour[2] = 0.0f;
        view.bonusFade = cooling ? computer.bonus.catchCooldown : 0;
    }
    if (computer.anyActive()) view.referenceBlockIndex = computer.route.referenceBlock;
    return view;
}
