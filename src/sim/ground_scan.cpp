#include "sim/track.h"

#include <algorithm>
#include <climits>

#include "core/services.h"

namespace {

constexpr int SIDE_CONTACT_SINK = 3;  // v_speed lost leaning on a side without ground

// The ground a block gives. A damaged file may hold any type code; codes
// outside the table act as plain ground, so that none of them reads as
// "airborne" (-1) or as leaning on a side (15, 16).
int groundTypeOf(const Block& block) {
    int32_t type = effectiveType(block);
    return type >= 0 && type < BLOCK_TYPE_COUNT ? type : int(BLOCK_PLAIN);
}

// Malformed blocks with a negative length can answer "beyond the craft" while
// lying behind it, so they are always tested in order.
bool alwaysTested(const BlockBody& body) { return body.length < 0; }

// The farthest z + length the block can reach. A moving block stays between
// its two points; the single-precision offset may overshoot its end point by
// a rounding step on very long motions, hence the slack.
int64_t farthestReach(const BlockBody& body) {
    int64_t nearEnd = body.z;
    if (body.movePeriod != 0) {
        int64_t travel = int64_t(body.pointZ) - body.z;
        int64_t slack = ((travel < 0 ? -travel : travel) >> 22) + 2;
        nearEnd = std::max<int64_t>(body.z, body.pointZ) + slack;
    }
    return nearEnd + body.length;
}

const GroundScanIndex& scanIndexFor(const Level& level) {
    GroundScanIndex& index = level.scanIndex;
    if (index.built && index.version == level.blocks.version()) return index;
    index = GroundScanIndex{};
    index.version = level.blocks.version();
    int64_t reachMax = INT64_MIN;
    for (int i = 0; i < level.blockCount(); ++i) {
        const BlockBody& body = level.blocks[size_t(i)].body;
        if (alwaysTested(body))
            index.alwaysTested.push_back(i);
        else
            reachMax = std::max(reachMax, farthestReach(body));
        index.farthestReachMax.push_back(reachMax);
    }
    index.built = true;
    return index;
}

class Scan {
public:
    Scan(Craft& craft, Level& level, const GroundScanOptions& options)
        : craft_(craft), level_(level), options_(options) {}

    // Tests block i; false when the scan is over.
    bool visit(int i) {
        const Block& block = level_.blocks[size_t(i)];
        int test = blockTest(craft_, block);
        switch (test) {
            case TEST_STANDS:
                if (options_.pongCourts && isCourt(block)) craft_.powerup = 100;
                if (options_.landingStopsFall) craft_.v_speed = 0;
                result_.groundType = groundTypeOf(block);
                result_.standingBlock = i;
                touch(i, false);
                return true;
            case TEST_LEANS_FROM_PLUS_X:
                result_.groundType = GROUND_SIDE_RIGHT;
                touch(i, true);
                return true;
            case TEST_LEANS_FROM_MINUS_X:
                result_.groundType = GROUND_SIDE_LEFT;
                touch(i, true);
                return true;
            case TEST_CRASH:
                playSound(ANY_CHANNEL, SOUND_EXPLODE);
                result_.crashed = true;
                result_.groundType = 0;
                return false;
            case TEST_OVER_FOOTPRINT:
                if (options_.pongCourts) overCourt(block, i);
                return true;
            case TEST_STOP_SCAN:
                return false;
            default:
                return true;
        }
    }

    // Ends the scan: this step's touches become the ones the next step
    // compares with.
    GroundScanResult finish() {
        rememberTouches();
        return result_;
    }

private:
    static bool isCourt(const Block& block) { return block.body.pointX != 0 && block.body.has(FLAG_PONG); }

    void overCourt(const Block& block, int i) {
        if (!isCourt(block) || block.body.y >= craft_.ypos) return;
        if (craft_.holdTimer == 0) {
            craft_.holdTimer = HOLD_BY_PONG;
            craft_.f_speed = 0;
            result_.pongStartBlock = i;
        }
        craft_.powerup = 100;
    }

    void touch(int i, bool side) {
        if (side && !grounded_) craft_.v_speed -= SIDE_CONTACT_SINK;
        grounded_ = true;
        touchedAny_ = true;
        craft_.lastTouched = i;
        const BlockBody& body = level_.blocks[size_t(i)].body;
        if (!body.has(FLAG_TOUCH_TRIGGER) || !body.has(FLAG_HAS_TARGET)) return;
        if (touchedTriggerCount_ < CRAFT_TOUCHED_TRIGGER_MEMORY) touchedTriggers_[touchedTriggerCount_++] = i;
        if (touchedBefore(i)) return;
        playSound(ANY_CHANNEL, SOUND_PLACE);
        triggerChain(level_, targetOf(body.flags));
    }

    // Among the triggers of the craft's latest step with contact.
    bool touchedBefore(int i) const {
        int count = std::clamp<int32_t>(craft_.touchedTriggerCount, 0, CRAFT_TOUCHED_TRIGGER_MEMORY);
        const int32_t* first = craft_.touchedTriggers;
        return std::find(first, first + count, i) != first + count;
    }

    // A step without contact (a jump, a fall) keeps the memory: landing back
    // on the plate one jumped from does not fire it again.
    void rememberTouches() {
        if (!touchedAny_) return;
        std::copy(touchedTriggers_, touchedTriggers_ + touchedTriggerCount_, craft_.touchedTriggers);
        craft_.touchedTriggerCount = touchedTriggerCount_;
    }

    Craft& craft_;
    Level& level_;
    const GroundScanOptions& options_;
    GroundScanResult result_;
    bool grounded_ = false;
    bool touchedAny_ = false;
    int32_t touchedTriggers_[CRAFT_TOUCHED_TRIGGER_MEMORY] = {};
    int touchedTriggerCount_ = 0;
};

}  // namespace

GroundScanResult groundScanEveryBlock(Craft& craft, Level& level, const GroundScanOptions& options) {
    Scan scan(craft, level, options);
    for (int i = 0; i < level.blockCount(); ++i)
        if (!scan.visit(i)) break;
    return scan.finish();
}

// Craft B's scan: the blocks in its mirrored order, ended by a fixed block
// that lies wholly beyond the craft's front toward -z (the mirror of the
// stop that craft A's block test makes toward +z).
static GroundScanResult mirroredGroundScan(Craft& craft, Level& level, const GroundScanOptions& options) {
    Scan scan(craft, level, options);
    for (int i : *options.mirroredOrder) {
        const BlockBody& body = level.blocks[size_t(i)].body;
        const bool fixedNow = body.movePeriod == 0 || body.moveTime == 0;
        if (fixedNow && int64_t(body.z) + body.length < int64_t(craft.z) - CRAFT_HALF_LENGTH) break;
        if (!scan.visit(i)) break;
    }
    return scan.finish();
}

// The first block, not counting malformed ones, that may not lie wholly behind.
static int firstNotBehind(const GroundScanIndex& index, int32_t craftZ) {
    int64_t behind = int64_t(craftZ) - CRAFT_HALF_LENGTH;
    const std::vector<int64_t>& farEnds = index.farthestReachMax;
    auto found = std::partition_point(farEnds.begin(), farEnds.end(),
                                      [behind](int64_t end) { return end < behind; });
    return int(found - farEnds.begin());
}

// Same visits in the same order as groundScanEveryBlock, minus the leading
// blocks that lie wholly behind the craft wherever their motion takes them:
// those can only answer "no contact". Malformed blocks among them are still
// tested in order, and as they may move the craft the boundary is found again
// after each. Keeps a step at the end of a long level as cheap as one at its
// start.
GroundScanResult groundScan(Craft& craft, Level& level, const GroundScanOptions& options) {
    if (options.mirroredOrder && options.mirroredOrder->size() == level.blocks.size())
        return mirroredGroundScan(craft, level, options);
    const GroundScanIndex& index = scanIndexFor(level);
    Scan scan(craft, level, options);
    int next = firstNotBehind(index, craft.z);
    for (int i : index.alwaysTested) {
        if (i >= next) break;
        if (!scan.visit(i)) return scan.finish();
        next = std::max(i + 1, firstNotBehind(index, craft.z));
    }
    for (int i = next; i < level.blockCount(); ++i)
        if (!scan.visit(i)) break;
    return scan.finish();
}
