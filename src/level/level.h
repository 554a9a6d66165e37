#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <utility>
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

    // Derived from the stored fields when the block is read or parsed.
    int32_t movePeriod = 0;

    // Run-time fields, never stored. They are mutable: the simulation moves
    // them on every step through read-only access to the level, which leaves
    // the block list's version (and the ground scan's index) alone.
    mutable int32_t changedType = 0;
    mutable int32_t changedTypeTime = 0;  // > 0 while changedType applies
    mutable int32_t moving = 0;
    mutable float pulse = 0.0f;
    mutable int32_t moveTime = 0;

    bool has(uint32_t flag) const { return (flags & flag) != 0; }
};

struct Block {
    int32_t type = 0;
    mutable int32_t pickupCooldown = 0;  // run time: steps until the powerup can be taken again
    BlockBody body;
};

// A level's blocks. Reading is free. The stored fields of a block (type,
// position, size, second point, flags, textures) change only through edit(),
// editAll() or the list operations below, and each of those gives the list a
// version number no list has had before. The ground scan's index remembers
// the version it was built for, so it can never describe other blocks than
// the ones it skips. Take edit()'s reference for one change at a time: a
// reference kept across a scan would change the blocks behind its back.
class BlockList {
public:
    BlockList() = default;
    BlockList(std::vector<Block> blocks) : blocks_(std::move(blocks)), version_(newVersion()) {}
    BlockList& operator=(std::vector<Block> blocks) {
        blocks_ = std::move(blocks);
        version_ = newVersion();
        return *this;
    }

    size_t size() const { return blocks_.size(); }
    bool empty() const { return blocks_.empty(); }
    const Block& operator[](size_t i) const { return blocks_[i]; }
    const Block& at(size_t i) const { return blocks_.at(i); }
    const Block& front() const { return blocks_.front(); }
    const Block& back() const { return blocks_.back(); }
    std::vector<Block>::const_iterator begin() const { return blocks_.begin(); }
    std::vector<Block>::const_iterator end() const { return blocks_.end(); }
    const std::vector<Block>& all() const { return blocks_; }

    Block& edit(size_t i) {
        version_ = newVersion();
        return blocks_.at(i);
    }
    std::vector<Block>& editAll() {
        version_ = newVersion();
        return blocks_;
    }
    void push_back(const Block& block) { editAll().push_back(block); }
    void clear() { editAll().clear(); }
    void resize(size_t count) { editAll().resize(count); }

    // Equal versions mean equal stored fields: copies share their original's.
    uint64_t version() const { return version_; }

private:
    static uint64_t newVersion() {
        static std::atomic<uint64_t> next{0};
        return ++next;
    }
    std::vector<Block> blocks_;
    uint64_t version_ = 0;  // every list that was never changed is empty
};

// Lets the ground scan skip the leading blocks that lie wholly behind a craft,
// wherever their motion takes them, without testing each one. Built on first
// use for the block list's current version.
struct GroundScanIndex {
    bool built = false;
    uint64_t version = 0;                  // of the block list it describes
    std::vector<int> alwaysTested;         // malformed blocks (negative length), in level order
    std::vector<int64_t> farthestReachMax; // per index: greatest far end any block so far can reach
};

struct Level {
    BlockList blocks;  // sorted by z
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
