#pragma once

#include <cstdint>
#include <vector>

// A level: axis-aligned boxes floating in space. A block spans
// x - width .. x, y - height .. y (top face at y) and z .. z + length.

enum BlockType : int {
    BLOCK_PLAIN = 0,
    BLOCK_SPEED = 1,
    BLOCK_SLOW = 2,
    BLOCK_LEFT = 3,   // pushes toward +x
    BLOCK_RIGHT = 4,  // pushes toward -x
    BLOCK_HURT = 5,
    BLOCK_ICE = 6,
    BLOCK_CRAZY = 7,
    BLOCK_HEAL = 8,
    BLOCK_JUMP = 9,
    BLOCK_GOAL = 10,
    BLOCK_NOJUMP = 11,
    BLOCK_TYPE_COUNT = 12
};

constexpr uint32_t FLAG_MOVE_ONCE = 1u << 0;
constexpr uint32_t FLAG_CHANGE_TYPE = 1u << 1;
constexpr uint32_t FLAG_MOVE = 1u << 2;
constexpr uint32_t FLAG_HAS_TARGET = 1u << 3;
constexpr uint32_t FLAG_TOUCH_TRIGGER = 1u << 4;
constexpr uint32_t FLAG_START_TRIGGER = 1u << 5;
constexpr uint32_t FLAG_PONG = 1u << 27;
constexpr uint32_t FLAG_CHECKPOINT = 1u << 28;
constexpr uint32_t FLAG_PUSHER = 1u << 29;
constexpr uint32_t FLAG_BONUS = 1u << 30;
constexpr uint32_t FLAG_POWERUP = 1u << 31;

constexpr int MOVE_PERIOD_SHIFT = 6;
constexpr uint32_t MOVE_PERIOD_MASK = 31;
constexpr int TARGET_SHIFT = 11;
constexpr uint32_t TARGET_MASK = 8191;
constexpr int NEW_TYPE_SHIFT = 24;
constexpr uint32_t NEW_TYPE_MASK = 7;

// Steps of one leg of a motion per MOVE_PERIOD unit.
constexpr int STEPS_PER_MOVE_PERIOD = 50;

inline int movePeriodOf(uint32_t flags) { return int((flags >> MOVE_PERIOD_SHIFT) & MOVE_PERIOD_MASK); }
inline int targetOf(uint32_t flags) { return int((flags >> TARGET_SHIFT) & TARGET_MASK); }
inline int newTypeOf(uint32_t flags) { return int((flags >> NEW_TYPE_SHIFT) & NEW_TYPE_MASK); }
inline uint32_t withTarget(uint32_t flags, int target) {
    return (flags & 0xff0007ffu) | ((uint32_t(target) & TARGET_MASK) << TARGET_SHIFT);
}
inline uint32_t withMovePeriod(uint32_t flags, int period) {
    return (flags & ~(MOVE_PERIOD_MASK << MOVE_PERIOD_SHIFT)) | ((uint32_t(period) & MOVE_PERIOD_MASK) << MOVE_PERIOD_SHIFT);
}
inline uint32_t withNewType(uint32_t flags, int newType) {
    return (flags & ~(NEW_TYPE_MASK << NEW_TYPE_SHIFT)) | ((uint32_t(newType) & NEW_TYPE_MASK) << NEW_TYPE_SHIFT);
}

struct BlockBody {
    // Stored fields, in file order after the type.
    int32_t x = 0, y = 0, z = 0;
    int32_t width = 0, height = 0, length = 0;
    int32_t texRepeatX = 0, texRepeatY = 0, texRepeatZ = 0;
    int32_t sideTexture = 0, topTexture = 0;
    int32_t pointX = 0;  // 0: no second point, no item, no motion
    int32_t pointY = 0;  // move destination y, or the item's z
    int32_t pointZ = 0;  // move destination z, or a difficulty 0..2
    uint32_t flags = 0;

    // Run-time fields, never stored.
    int32_t changedType = 0;
    int32_t changedTypeTime = 0;  // > 0 while changedType applies
    int32_t movePeriod = 0;
    int32_t moving = 0;
    float pulse = 0.0f;
    int32_t moveTime = 0;

    bool has(uint32_t flag) const { return (flags & flag) != 0; }
};

struct Block {
    int32_t type = 0;
    int32_t pickupCooldown = 0;  // steps until the powerup can be taken again
    BlockBody body;
};

// Lets the ground scan skip the leading blocks that lie wholly behind a craft,
// wherever their motion takes them, without testing each one. Built on first
// use from the block table; markLevelEdited (level_file.h) drops it after
// in-place edits.
struct GroundScanIndex {
    bool built = false;
    std::vector<int> alwaysTested;         // malformed blocks (negative length), in level order
    std::vector<int64_t> farthestReachMax; // per index: greatest far end any block so far can reach
};

struct Level {
    std::vector<Block> blocks;  // sorted by z
    int32_t goldTime = 0;
    int32_t silverTime = 0;
    int32_t bronzeTime = 0;
    mutable GroundScanIndex scanIndex;

    int blockCount() const { return int(blocks.size()); }
    bool validIndex(int index) const { return index >= 0 && index < blockCount(); }
};

// The type a block currently acts as: its changed type while a trigger has
// changed it, else its own.
inline int32_t effectiveType(const Block& block) {
    return block.body.changedTypeTime >= 1 ? block.body.changedType : block.type;
}

struct BlockCorner {
    int32_t x, y, z;
};

// Where a block's corner stands after moveTime steps of its motion. The
// fraction is computed in single precision and the offsets truncate toward
// zero, as the recorded ghosts and level timings expect.
BlockCorner blockCornerAt(const BlockBody& body, int32_t moveTime);
inline BlockCorner blockCorner(const BlockBody& body) { return blockCornerAt(body, body.moveTime); }

// Default side and top texture slots of each block type.
struct BlockTextures {
    int side, top;
};
BlockTextures defaultBlockTextures(int type);
