#include "sim/track.h"

#include <algorithm>
#include <climits>

#include "core/services.h"

namespace {

constexpr int SIDE_CONTACT_SINK = 3;  // v_speed lost leaning on a side without ground

// A block can be skipped while it lies wholly behind the craft only if it can
// never move; blocks that can, and malformed ones with a negative length
// (whose "beyond" test comes first), are always tested in order.
bool alwaysTested(const BlockBody& body) { return body.movePeriod != 0 || body.length < 0; }

const GroundScanIndex& scanIndexFor(const Level& level) {
    GroundScanIndex& index = level.scanIndex;
    if (index.built && index.fixedFarEndMax.size() == level.blocks.size()) return index;
    index = GroundScanIndex{};
    int64_t farEndMax = INT64_MIN;
    for (int i = 0; i < level.blockCount(); ++i) {
        const BlockBody& body = level.blocks[size_t(i)].body;
        if (alwaysTested(body))
            index.alwaysTested.push_back(i);
        else
            farEndMax = std::max(farEndMax, int64_t(body.z) + body.length);
        index.fixedFarEndMax.push_back(farEndMax);
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
        Block& block = level_.blocks[size_t(i)];
        int test = blockTest(craft_, block);
        switch (test) {
            case TEST_STANDS:
                if (options_.pongCourts && isCourt(block)) craft_.powerup = 100;
                result_.groundType = effectiveType(block);
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

    GroundScanResult result() const { return result_; }

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
        if (i == craft_.lastTouched) return;
        const BlockBody& body = level_.blocks[size_t(i)].body;
        if (body.has(FLAG_TOUCH_TRIGGER) && body.has(FLAG_HAS_TARGET)) {
            playSound(ANY_CHANNEL, SOUND_PLACE);
            triggerChain(level_, targetOf(body.flags));
        }
        craft_.lastTouched = i;
    }

    Craft& craft_;
    Level& level_;
    const GroundScanOptions& options_;
    GroundScanResult result_;
    bool grounded_ = false;
};

}  // namespace

GroundScanResult groundScanEveryBlock(Craft& craft, Level& level, const GroundScanOptions& options) {
    Scan scan(craft, level, options);
    for (int i = 0; i < level.blockCount(); ++i)
        if (!scan.visit(i)) break;
    return scan.result();
}

static int firstFixedNotBehind(const GroundScanIndex& index, int32_t craftZ) {
    int64_t behind = int64_t(craftZ) - CRAFT_HALF_LENGTH;
    const std::vector<int64_t>& farEnds = index.fixedFarEndMax;
    auto found = std::partition_point(farEnds.begin(), farEnds.end(),
                                      [behind](int64_t end) { return end < behind; });
    return int(found - farEnds.begin());
}

// Same visits in the same order as groundScanEveryBlock, minus the fixed
// blocks lying wholly behind the craft before the first fixed block that does
// not: those can only answer "no contact". Moving blocks among them are still
// tested in order, and as they may carry the craft back the boundary is found
// again after each. Keeps a step at the end of a long level as cheap as one
// at its start.
GroundScanResult groundScan(Craft& craft, Level& level, const GroundScanOptions& options) {
    const GroundScanIndex& index = scanIndexFor(level);
    Scan scan(craft, level, options);
    int next = firstFixedNotBehind(index, craft.z);
    for (int i : index.alwaysTested) {
        if (i >= next) break;
        if (!scan.visit(i)) return scan.result();
        next = std::max(i + 1, firstFixedNotBehind(index, craft.z));
    }
    for (int i = next; i < level.blockCount(); ++i)
        if (!scan.visit(i)) break;
    return scan.result();
}
