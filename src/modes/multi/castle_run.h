#pragma once

#include <cstdint>
#include <string>

#include "level/level.h"
#include "sim/craft.h"
#include "modes/multi/two_player.h"
#include "sim/physics.h"

// Held power-ups of castle attack, as the pickup draws them (1..6).
enum CastlePowerup : int {
    POWERUP_NONE = 0,
    POWERUP_ICE = 1,        // the next block stood on turns to ICE
    POWERUP_AIR_JUMP = 2,   // one jump in the air, by itself
    POWERUP_WALL = 3,       // a wall across the track at the next block stood on
    POWERUP_PUSH = 4,       // five steps of a push wave
    POWERUP_SHIELD = 5,     // 1200 steps safe from HURT blocks and pushes
    POWERUP_HURT = 6,       // the next block stood on turns to HURT
    POWERUPS_OFF = -1       // held during the scan while power-ups are off
};

constexpr int SHIELD_STEPS = 1200;
constexpr int PUSH_STEPS = 5;
constexpr int CHANGED_BLOCK_STEPS = 2000;
constexpr int CASTLE_CONTACT_DISTANCE = 500;
constexpr int PUSH_REACH = 2000;
constexpr int CONTACT_HOLD_STEPS = 25;

struct CastleWallPlace {
    int32_t x = 0, y = 0, z = 0;  // all 0: no wall
    bool placed() const { return x != 0 || y != 0 || z != 0; }
};

// One player's side of a duel.
struct CastlePlayer {
    Craft craft;
    StepAccumulator accumulator;
    int32_t castleHealth = 5;
    int32_t deaths = 0;
    int32_t powerupsUsed = 0;
    int32_t armed = POWERUP_NONE;  // waits for the next block stood on (1, 3, 6); 4 and 5 act by their timers
    int32_t shieldTime = 0;
    int32_t pushTime = 0;
    CastleWallPlace wall;
};

// A castle-attack duel without a window: the mirrored arena, both crafts,
// their steps with the mode's differences, the power-ups, the wall, craft
// and push contacts and the castles. The CastleM state feeds it keys and
// time and draws it; tests drive it step by step.
class CastleRun : public PlayHooks {
public:
    // Reads the stored half and builds the arena. -1 (with "Level not
    // found.") when the file is missing, damaged, empty or holds no goal
    // block; the run then holds no level.
    int loadLevel(const std::string& path);
    // The same for a stored half already read: builds the arena and finds
    // the castles; -1 (silent) without blocks or goal blocks.
    int useStoredHalf(Level stored);
    bool hasLevel() const {
        return level.blockCount() > 0 && castleGoalA >= 0 && castleGoalB >= 0 && farStartBlock >= 0 &&
               farStartBlock < level.blockCount();
    }

    // A fresh duel: castle health `lives` each, no deaths, nothing held,
    // walls cleared, both crafts at home.
    void start(int lives, bool powerupsOn, int gravity);
    // Home again (Reset keys, a death, a scored attack); deaths, castle
    // health and power-ups stay.
    void respawn(int player);

    // The Use key: uses the held power-up.
    void usePowerup(int player);

    // The steps due on each craft's accumulator, in rounds of one step
    // each, A first; the contact rules follow each round.
    void update(int elapsedMs);
    // One round without the clock: each craft one step, A first, while the
    // duel lasts; then the contact rules (the level tools drive duels by
    // rounds).
    void stepRound();
    StepOutcome step(int player);
    // Walls, craft against craft and push waves, for the crafts that have
    // just stepped (a wall is crossed within one step).
    void contacts(bool steppedA, bool steppedB);

    // -1 while both castles stand, else PLAYER_A or PLAYER_B.
    int winner() const;
    bool over() const { return winner() >= 0; }

    // PlayHooks.
    void onDeath(Craft& craft, DeathCause cause) override;
    void onFinish(Craft& craft, int blockIndex) override;
    void beforeGroundScan(Craft& craft, Level& level) override;
    void afterGroundScan(Craft& craft, Level& level, int standingBlock) override;
    bool hurtApplies(const Craft& craft) override;
    bool goalApplies(const Craft& craft, int blockIndex) override;

    Level level;
    CastlePlayer players[2];
    int castleGoalA = -1;   // last goal block of the near castle
    int castleGoalB = -1;   // first goal block of the far castle
    int farStartBlock = -1; // B's start: the greatest z + length
    int spinAngle = 0;      // 0..359, turns the power-up items
    bool powerups = true;
    int gravity = 8;

private:
    // Each craft whose `due(player)` is true steps; then the contacts. True
    // when one stepped.
    template <class Due>
    bool stepRound(Due due);
    int playerOf(const Craft& craft) const { return &craft == &players[1].craft ? 1 : 0; }
    void findCastleGoals();
    bool protectedBlock(int blockIndex) const;
    void placeArmed(int player, int standingBlock);
    void wallContact(int player);
    void craftContact();
    void push(int from, int to);
    void die(int player);
    // Craft B's ground scan order: B meets the arena's blocks as A meets
    // their mirror partners. Found again whenever the blocks change.
    const MirroredScanOrder& mirroredOrder();

    MirroredScanOrder mirroredOrder_;
    uint64_t mirroredOrderVersion_ = 0;
    bool mirroredOrderFound_ = false;
};

// Which castle a goal block scores against, for tests and the rules: true
// when craft A (kind +1) on `block` hits B's castle (z + 1000 reaches the
// castle goal's z), or craft B on it hits A's (z - 1000 below the castle
// goal's far end).
bool attackScores(int kind, const BlockBody& block, const BlockBody& opponentsCastleGoal);
