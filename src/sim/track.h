#pragma once

#include <vector>

#include "level/level.h"
#include "sim/craft.h"

// The craft against the track: the block test, the ground scan, triggers,
// moving blocks, the checkpoint and spawn-point scan and the level reset.
// Plain integer code; sounds go through playSound (core/services.h).

// Craft dimensions used by the tests, around its reference point.
constexpr int CRAFT_REST_HEIGHT = 150;       // ypos above a block's top
constexpr int CRAFT_HALF_WIDTH = 155;        // standing and items under it
constexpr int CRAFT_HALF_LENGTH = 155;       // z, all tests
constexpr int CRAFT_SIDE_DETECT = 197;
constexpr int CRAFT_SIDE_PLACE = 195;
constexpr int POWERUP_PICKUP_DISTANCE = 500;
constexpr int POWERUP_COOLDOWN_STEPS = 2500;
constexpr int32_t CHANGED_TYPE_FOREVER = 99999999;

enum BlockTestResult : int {
    TEST_NO_CONTACT = 0,
    TEST_STANDS = 1,
    TEST_LEANS_FROM_PLUS_X = 2,   // block on the craft's right: groundType 16
    TEST_LEANS_FROM_MINUS_X = 3,  // block on the craft's left: groundType 15
    TEST_CRASH = 4,               // drove into the block's front or back face
    TEST_STOP_SCAN = -1,          // a fixed block starts beyond the craft
    TEST_OVER_FOOTPRINT = -2      // above or below the footprint, not touching
};

// Tests the craft against one block, snapping, carrying and pushing the
// craft as a side effect (and picking up a powerup).
int blockTest(Craft& craft, const Block& block);

// For a point-mirrored arena (every block's mirror partner about the centre
// is in the level too): the partner of block 0, of block 1, ... in that
// order, and the index that lets a scan skip the leading blocks wholly
// behind craft B (toward +z), as the level's own index does for A.
struct MirroredScanOrder {
    std::vector<int> order;                // empty when some block has no partner
    std::vector<int> alwaysTested;         // positions in `order` of malformed blocks
    std::vector<int64_t> nearestReachMin;  // per position: lowest z any block so far can reach
};
MirroredScanOrder mirroredScanOrder(const Level& arena);

struct GroundScanOptions {
    // Single player: landing on a pong court marks powerup 100 and hovering
    // over one starts the game. Time attack, race, castle attack and the
    // computer crafts know no pong courts.
    bool pongCourts = false;
    // Computer crafts: standing on a block stops the fall at once.
    bool landingStopsFall = false;
    // Castle attack's craft B: the blocks in the order in which craft A
    // meets their mirror partners (mirroredScanOrder). The scan then meets
    // each block as A meets its partner: where two blocks touch the craft,
    // the same one decides, and the scan ends at the first fixed block
    // lying wholly beyond the craft's front toward -z, as A's ends toward
    // +z. nullptr, or an order for another number of blocks: level order.
    const MirroredScanOrder* mirroredOrder = nullptr;
};


struct GroundScanResult {
    int groundType = GROUND_AIRBORNE;  // -1 airborne, a type 0..11 (stored codes outside it: 0), 15, 16
    bool crashed = false;              // result 4 ended the scan; the explosion has played
    int standingBlock = -1;            // last block stood on (result 1), -1 none
    int pongStartBlock = -1;           // court whose game this scan started, -1 none
};

// Scans the level's blocks in level order. A touch trigger fires when its
// block was not touched in the craft's latest step that touched any block,
// however many blocks the craft touches at once. A crash plays the explosion
// and stops the scan with groundType 0 (the caller runs its death routine).
// A pong start sets holdTimer -10000 and f_speed 0; the caller starts the
// game and its banner.
GroundScanResult groundScan(Craft& craft, Level& level, const GroundScanOptions& options = {});

// The straightforward scan over every block in order (or in the mirrored
// order), without the index that skips blocks behind the craft. Same
// results; kept to check the fast one.
GroundScanResult groundScanEveryBlock(Craft& craft, Level& level, const GroundScanOptions& options = {});

// Starts or stops the motion of the block at `start` and of every block its
// TARGET chain names, changing types where FLAG_CHANGE_TYPE says. Indices
// outside the level end the chain; a cyclic chain ends after each block was
// visited once.
void triggerChain(Level& level, int start);

// One step of the level's own motion (phase 2): HURT pulses rise by
// `hurtPulseStep` (0.015; the two-player modes use 0.007), moving blocks
// advance, FLAG_MOVE_ONCE stops at the end of a leg, and a motion that ran ten
// legs starts over.
void advanceLevel(Level& level, float hurtPulseStep = 0.015f);

// What the item scan found; the play state decides what to show or spawn.
class ItemScanHooks {
public:
    virtual ~ItemScanHooks() = default;
    // The checkpoint sound has played and craft.checkpoint is `ordinal`.
    virtual void onCheckpoint(Craft& craft, int ordinal) { (void)craft; (void)ordinal; }
    // A bonus / pusher spawn point lies 20000..25000 ahead of the craft. The
    // owner of the computer crafts applies the "no craft active" rules.
    virtual void onBonusSpawnPoint(Level& level, int blockIndex) { (void)level; (void)blockIndex; }
    virtual void onPusherSpawnPoint(Level& level, int blockIndex) { (void)level; (void)blockIndex; }
};

// After the integration (single player): checkpoints passed, spawn points near.
void scanItems(Craft& craft, Level& level, ItemScanHooks& hooks);

// With every craft reset: step counter 0, motions rewound; blocks without
// FLAG_START_TRIGGER also stop and lose a changed type.
void resetLevel(Level& level);

// Number of blocks holding a checkpoint (FLAG_CHECKPOINT with a second point).
int checkpointCount(const Level& level);
// Index of the n-th such block (1-based), -1 when there is none.
int checkpointBlock(const Level& level, int ordinal);
