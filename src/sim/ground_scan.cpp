#include "sim/track.h"

#include <algorithm>
#include <array>
#include <climits>
#include <map>

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

// The lowest z the block can reach: farthestReach seen from craft B.
int64_t nearestReach(const BlockBody& body) {
    if (body.movePeriod == 0) return body.z;
    int64_t travel = int64_t(body.pointZ) - body.z;
    int64_t slack = ((travel < 0 ? -travel : travel) >> 22) + 2;
    return std::min<int64_t>(body.z, body.pointZ) - slack;
}

// Craft B meets a fixed block lying wholly beyond its front (toward -z): no
// block after it in the mirrored order can touch it, as no block after a
// fixed one beyond A's front can touch A.
bool endsMirroredScan(const Craft& craft, const BlockBody& body) {
    const bool fixedNow = body.movePeriod == 0 || body.moveTime == 0;
    return fixedNow && int64_t(body.z) + body.length < int64_t(craft.z) - CRAFT_HALF_LENGTH;
}

using Placement = std::array<int64_t, 7>;

// Where a block lies and what it is: the fields a mirrored copy keeps or
// mirrors (its flags differ by the copy's target).
Placement placementOf(const BlockBody& body, int32_t type) {
    return {body.x, body.z, body.y, body.width, body.height, body.length, type};
}

std::vector<int> mirrorPartners(const Level& arena) {
    // The arena is symmetric, so its extremes are mirrors of each other.
    int64_t xLow = INT64_MAX, xHigh = INT64_MIN, zLow = INT64_MAX, zHigh = INT64_MIN;
    for (const Block& block : arena.blocks) {
        const BlockBody& body = block.body;
        for (int64_t x : {int64_t(body.x), int64_t(body.x) - body.width}) {
            xLow = std::min(xLow, x);
            xHigh = std::max(xHigh, x);
        }
        for (int64_t z : {int64_t(body.z), int64_t(body.z) + body.length}) {
            zLow = std::min(zLow, z);
            zHigh = std::max(zHigh, z);
        }
    }
    const int64_t centreX2 = xLow + xHigh, centreZ2 = zLow + zHigh;
    std::map<Placement, std::vector<int>> byPlacement;
    for (int i = arena.blockCount() - 1; i >= 0; --i) {
        const Block& block = arena.blocks[size_t(i)];
        byPlacement[placementOf(block.body, block.type)].push_back(i);
    }
    std::vector<int> partners;
    partners.reserve(arena.blocks.size());
    for (const Block& block : arena.blocks) {
        const BlockBody& body = block.body;
        Placement partner = placementOf(body, block.type);
        partner[0] = centreX2 - (int64_t(body.x) - body.width);
        partner[1] = centreZ2 - (int64_t(body.z) + body.length);
        auto found = byPlacement.find(partner);
        if (found == byPlacement.end() || found->second.empty()) return {};
        // Equal blocks pair up in level order.
        partners.push_back(found->second.back());
        found->second.pop_back();
    }
    return partners;
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

MirroredScanOrder mirroredScanOrder(const Level& arena) {
    MirroredScanOrder mirrored;
    mirrored.order = mirrorPartners(arena);
    int64_t reachMin = INT64_MAX;
    for (size_t position = 0; position < mirrored.order.size(); ++position) {
        const BlockBody& body = arena.blocks[size_t(mirrored.order[position])].body;
        if (alwaysTested(body))
            mirrored.alwaysTested.push_back(int(position));
        else
            reachMin = std::min(reachMin, nearestReach(body));
        mirrored.nearestReachMin.push_back(reachMin);
    }
    return mirrored;
}

static bool usesMirroredOrder(const Level& level, const GroundScanOptions& options) {
    return options.mirroredOrder && options.mirroredOrder->order.size() == level.blocks.size() &&
           !level.blocks.empty();
}

GroundScanResult groundScanEveryBlock(Craft& craft, Level& level, const GroundScanOptions& options) {
    Scan scan(craft, level, options);
    if (usesMirroredOrder(level, options)) {
        for (int i : options.mirroredOrder->order)
            if (endsMirroredScan(craft, level.blocks[size_t(i)].body) || !scan.visit(i)) break;
        return scan.finish();
    }
    for (int i = 0; i < level.blockCount(); ++i)
        if (!scan.visit(i)) break;
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

// The first position of the mirrored order, not counting malformed blocks,
// whose block may not lie wholly behind craft B (toward +z).
static int firstNotBehindMirrored(const MirroredScanOrder& mirrored, int32_t craftZ) {
    int64_t behind = int64_t(craftZ) + CRAFT_HALF_LENGTH;
    const std::vector<int64_t>& nearEnds = mirrored.nearestReachMin;
    auto found = std::partition_point(nearEnds.begin(), nearEnds.end(),
                                      [behind](int64_t end) { return end > behind; });
    return int(found - nearEnds.begin());
}

// groundScan for craft B, its mirror image: the same skip of the leading
// blocks behind it, over the mirrored order.
static GroundScanResult mirroredGroundScan(Craft& craft, Level& level, const GroundScanOptions& options) {
    const MirroredScanOrder& mirrored = *options.mirroredOrder;
    Scan scan(craft, level, options);
    const auto visit = [&](int position) {
        const int i = mirrored.order[size_t(position)];
        return !endsMirroredScan(craft, level.blocks[size_t(i)].body) && scan.visit(i);
    };
    int next = firstNotBehindMirrored(mirrored, craft.z);
    for (int position : mirrored.alwaysTested) {
        if (position >= next) break;
        if (!visit(position)) return scan.finish();
        next = std::max(position + 1, firstNotBehindMirrored(mirrored, craft.z));
    }
    for (int position = next; position < int(mirrored.order.size()); ++position)
        if (!visit(position)) break;
    return scan.finish();
}

// Same visits in the same order as groundScanEveryBlock, minus the leading
// blocks that lie wholly behind the craft wherever their motion takes them:
// those can only answer "no contact". Malformed blocks among them are still
// tested in order, and as they may move the craft the boundary is found again
// after each. Keeps a step at the end of a long level as cheap as one at its
// start.
GroundScanResult groundScan(Craft& craft, Level& level, const GroundScanOptions& options) {
    if (usesMirroredOrder(level, options)) return mirroredGroundScan(craft, level, options);
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
