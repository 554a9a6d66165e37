#pragma once

#include <cstdint>
#include <string>

#include "level/level.h"
#include "sim/block_window.h"
#include "sim/computer_driver.h"
#include "sim/craft.h"
#include "sim/physics.h"
#include "sim/pong.h"

// The single-player track's computer objects: the pusher craft (kind 99)
// that keeps pace with the player and shoves it sideways, the bonus craft
// (kind 200) that gives a life when caught, their shared route, and the
// pong game. At most one computer craft is active at a time.
//
// How the single-player play state uses it (one ComputerCrafts it owns):
//   - removeAll() at enter, in the death routine and whenever the craft is
//     reset: both crafts go, the route is forgotten and any pong game ends.
//   - Its ItemScanHooks forwards the spawn points:
//       onBonusSpawnPoint(level, i)  -> computer.onBonusSpawnPoint(level, i)
//       onPusherSpawnPoint(level, i) -> computer.onPusherSpawnPoint(level, i)
//   - Its PlayHooks::onPongStart(craft, level, i) -> computer.pong.start(level, i)
//     (show message 1, 2 or 3 there for computer.pong.difficulty() 0, 1, 2).
//   - After the player's step and the item scan:
//       computer.step(player, level, rules.keys, pongHooks)
//     steps the pusher, then the bonus craft, then the pong game; or call
//     stepPusher, stepBonus and pong.step yourself in that order.
//   - PongHooks::onPongLost(player): with lives 1 run the death routine,
//     else lives -= 1 (holdTimer is already -10 and the ball gone).
//   - The debug overlay's "Msg:" line: computer.debugText().
//   - Drawing: computerObjectsView (render/computer_objects_view.h) fills
//     the ComputerObjectsView for drawComputerObjects; pusherActive and
//     bonusActive tell drawBlockItems which idle crafts to draw.
class ComputerCrafts {
public:
    Craft pusher;
    Craft bonus;
    bool pusherActive = false;
    bool bonusActive = false;
    RouteState route;
    PongGame pong;
    // The bonus star turns as it flies (degrees, 0..359).
    int bonusAngle = 0;

    bool anyActive() const { return pusherActive || bonusActive; }

    // The item scan found a bonus spawn point in range: the bonus craft
    // spawns there unless a computer craft is already active.
    void onBonusSpawnPoint(const Level& level, int blockIndex);
    // A pusher spawn point in range: the bonus craft gives way, and the
    // pusher spawns there unless it is already active.
    void onPusherSpawnPoint(const Level& level, int blockIndex);
    // Spawns a craft of `kind` on the block regardless of the others.
    void spawn(int kind, const Level& level, int blockIndex);

    void removeAll();

    // One physics step of each active craft, pusher first, then the pong game.
    void step(Craft& player, Level& level, const ControlKeys& playerKeys, PongHooks& pongHooks);
    void stepPusher(Craft& player, Level& level);
    void stepBonus(Craft& player, Level& level);

    // The label of the jump rule that decided last, for the debug overlay.
    // It outlives the crafts and their routes (spawns and removals); the
    // single-player run's start clears it.
    std::string debugText() const { return jumpLabel_; }
    void clearDebugText() { jumpLabel_ = ""; }

private:
    void push(Craft& player);
    void catchBonus(Craft& player);
    void exchangeSideSpeeds(Craft& player, bool playerOnPlusSide);

    BlockZWindow window_;
    const char* jumpLabel_ = "";
};
