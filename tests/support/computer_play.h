#pragma once

#include <string>

#include "sim/computer_craft.h"
#include "support/sim_fixtures.h"

// The single-player play state's step order without a window: the player's
// step with the single-player rules, the item scan spawning computer crafts,
// the pusher, the bonus craft and the pong game, then the holdTimer
// countdown. A pong start serves the ball; a lost pong game takes a life
// (or, with one left, resets the craft as a death does).
class ComputerPlay : public TextLevelPlay, public ItemScanHooks, public PongHooks {
protected:
    void load(const std::string& text);
    void step();
    // Steps until `done` or `limit` steps; returns the steps taken.
    template <class Done>
    int stepUntil(Done done, int limit) {
        for (int i = 0; i < limit; ++i) {
            if (done()) return i;
            step();
        }
        return limit;
    }

    void onBonusSpawnPoint(Level& l, int i) override { computer.onBonusSpawnPoint(l, i); }
    void onPusherSpawnPoint(Level& l, int i) override { computer.onPusherSpawnPoint(l, i); }
    void onPongLost(Craft& player) override;

    // Puts a spawned computer craft (or the player) on the ground at x, z
    // of the block under it, with no speed.
    void place(Craft& craft, int32_t x, int32_t ypos, int32_t z);

    class Hooks : public RecordingHooks {
    public:
        Hooks(Level& level, ComputerCrafts& computer) : RecordingHooks(level), computer_(computer) {}
        void onDeath(Craft& craft, DeathCause cause) override;
        void onPongStart(Craft& craft, Level& level, int blockIndex) override;

    private:
        ComputerCrafts& computer_;
    };

    ComputerCrafts computer;
    Hooks singleHooks{level, computer};
    PlayRules singleRules = singlePlayerRules(singleHooks);
    ControlKeys computerKeys = controlKeys(1);
    int pongLosses = 0;
};
