#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "render/craft_rules.h"
#include "render/shadow_casters.h"
#include "render/track_rules.h"
#include "render/view_volume.h"
#include "core/settings.h"
#include "sim/view_angle.h"

namespace {

Block blockAt(int z, int length) {
    Block block;
    block.body.z = z;
    block.body.length = length;
    block.body.width = 1000;
    return block;
}

TEST(BlockDetailChoice, FollowsDetailsDistanceAndHalo) {
    EXPECT_EQ(blockDetail(0, 0, false), BlockDetail::Low);       // Details 0: always a plain box
    EXPECT_EQ(blockDetail(3, 50001, false), BlockDetail::Low);   // far away
    EXPECT_EQ(blockDetail(3, 50000, false), BlockDetail::Medium);
    EXPECT_EQ(blockDetail(3, 30000, false), BlockDetail::Medium);
    EXPECT_EQ(blockDetail(3, 20000, false), BlockDetail::High);
    EXPECT_EQ(blockDetail(2, 25000, false), BlockDetail::High);
    EXPECT_EQ(blockDetail(2, 25001, false), BlockDetail::Medium);
    EXPECT_EQ(blockDetail(1, 0, false), BlockDetail::Medium);
    EXPECT_EQ(blockDetail(2, 0, true), BlockDetail::Medium);     // halos never rounded
    EXPECT_EQ(blockDetail(0, 0, true), BlockDetail::Low);
    EXPECT_EQ(blockDetail(2, -4000, false), BlockDetail::High);  // just behind the craft
}

TEST(MovingBlockPosition, InterpolatesBetweenItsPoints) {
    BlockBody body;
    body.x = 1000; body.y = 0; body.z = 5000;
    body.pointX = 3000; body.pointY = 1000; body.pointZ = 5000;
    body.movePeriod = 2;  // one leg is 100 steps
    body.moveTime = 0;
    EXPECT_EQ(blockCorner(body).x, 1000);  // moveTime 0: the base position
    body.moveTime = 50;
    EXPECT_EQ(blockCorner(body).x, 2000);
    EXPECT_EQ(blockCorner(body).y, 500);
    body.moveTime = 150;  // second leg runs back
    EXPECT_EQ(blockCorner(body).x, 2000);
    body.moveTime = 200;
    EXPECT_EQ(blockCorner(body).x, 1000);
    body.movePeriod = 0;  // not moving at all
    EXPECT_EQ(blockCorner(body).x, 1000);
}

TEST(CheckpointDoors, OpenOverTheLast4000AndCloseAgain8000Past) {
    const int gate = 50000;
    EXPECT_EQ(checkpointDoorAngle(gate, gate - 4000), 0);  // 4000 before: closed
    EXPECT_EQ(checkpointDoorAngle(gate, gate - 5000), 0);
    EXPECT_EQ(checkpointDoorAngle(gate, gate - 2000), 45);
    EXPECT_EQ(checkpointDoorAngle(gate, gate - 3999), 1);   // just starting to open
    EXPECT_EQ(checkpointDoorAngle(gate, gate), 90);        // open from the gate on
    EXPECT_EQ(checkpointDoorAngle(gate, gate + 7999), 90);
    EXPECT_EQ(checkpointDoorAngle(gate, gate + 8000), 0);  // closed again behind
    EXPECT_EQ(checkpointDoorAngle(gate, gate + 20000), 0);
}

TEST(DamageSmoke, PuffCountFollowsHealth) {
    EXPECT_EQ(smokePuffCount(100), 0);
    EXPECT_EQ(smokePuffCount(95), 0);
    EXPECT_EQ(smokePuffCount(94), 0);
    EXPECT_EQ(smokePuffCount(86), 1);
    EXPECT_EQ(smokePuffCount(50), 5);
    EXPECT_EQ(smokePuffCount(0), 10);
    EXPECT_EQ(smokePuffCount(-30), 10);  // never more than the ten trail sprites
}

TEST(TrackWalk, StopsBehindUnlessTheBlockMayMove) {
    Block block = blockAt(0, 2000);
    EXPECT_FALSE(stopsFullWalk(block, 25000));
    EXPECT_TRUE(stopsFullWalk(block, 25001));
    block.body.pointX = 500;
    EXPECT_FALSE(stopsFullWalk(block, 30000 + 2000));
    EXPECT_TRUE(drawnInFullPass(block, 30000 + 2000, 200000));  // 30000 behind, second point
}

TEST(TrackWalk, DrawsWithinDrawDistanceAheadAnd5000Behind) {
    const Block ahead = blockAt(100000, 2000);
    EXPECT_FALSE(drawnInFullPass(ahead, 0, 100000));  // near end 100000 ahead
    EXPECT_TRUE(drawnInFullPass(ahead, 1, 100000));
    const Block behind = blockAt(0, 2000);
    EXPECT_TRUE(drawnInFullPass(behind, 6999, 100000));
    EXPECT_FALSE(drawnInFullPass(behind, 7000, 100000));
}

TEST(TrackWalk, SplitScreenFacingBackwardWalksTheOtherWay) {
    const Block block = blockAt(50000, 2000);
    EXPECT_FALSE(stopsSplitWalk(block, 27000, -1));
    EXPECT_TRUE(stopsSplitWalk(block, 26999, -1));
    EXPECT_TRUE(drawnInSplitPass(block, 100000 + 52000 - 1, 100000, -1));
    EXPECT_FALSE(drawnInSplitPass(block, 100000 + 52000, 100000, -1));
    // Facing +z there is no cut behind.
    EXPECT_TRUE(drawnInSplitPass(block, 70000, 100000, 1));
    EXPECT_FALSE(stopsSplitWalk(blockAt(0, 2000), 25000, 1));
    EXPECT_TRUE(stopsSplitWalk(blockAt(0, 2000), 25001, 1));
}

// Blocks near the ends of the int range (a hostile level file): the rules
// answer as the true sums would, clean under UBSan.
TEST(TrackWalk, ExtremeCoordinatesAnswerAsTheTrueSums) {
    const Block last = blockAt(INT32_MAX, INT32_MAX);  // far end 2^32 - 2
    EXPECT_FALSE(stopsFullWalk(last, INT32_MAX));
    EXPECT_FALSE(stopsHaloWalk(last, INT32_MAX));
    EXPECT_FALSE(stopsSplitWalk(last, INT32_MAX, 1));
    EXPECT_TRUE(drawnInFullPass(last, INT32_MAX, 200000));
    EXPECT_TRUE(drawnInSplitPass(last, INT32_MAX, 200000, -1));
    EXPECT_FALSE(drawnInFullPass(last, INT32_MIN, 200000));
    EXPECT_FALSE(stopsSplitWalk(last, INT32_MIN, 1));

    const Block first = blockAt(INT32_MIN, INT32_MIN);  // far end -2^32
    EXPECT_TRUE(stopsFullWalk(first, INT32_MIN));
    EXPECT_TRUE(stopsHaloWalk(first, 0));
    EXPECT_FALSE(stopsSplitWalk(first, INT32_MIN, -1));
    EXPECT_TRUE(drawnInSplitPass(first, INT32_MAX, INT32_MAX, 1));
    EXPECT_FALSE(drawnInFullPass(first, INT32_MIN, INT32_MAX));

    EXPECT_EQ(checkpointDoorAngle(INT32_MAX, INT32_MIN), 0);
    EXPECT_EQ(checkpointDoorAngle(INT32_MIN, INT32_MAX), 0);
    EXPECT_EQ(checkpointDoorAngle(INT32_MAX, INT32_MAX - 2000), 45);
    EXPECT_EQ(smokePuffCount(INT32_MIN), 10);
    EXPECT_EQ(smokePuffCount(INT32_MAX), 0);
}

// The play projection (40 degrees, 4:3, near 50.5, far 400000) with the eye
// at the origin looking down -z, as gluPerspective and an identity
// model-view give it.
ViewVolume playView() {
    const double f = 1.0 / std::tan(20.0 * M_PI / 180.0), near = 50.5, far = 400000.0;
    const double projection[16] = {f / (4.0 / 3.0), 0, 0, 0, 0, f, 0, 0, 0, 0, (far + near) / (near - far), -1,
                                   0, 0, 2 * far * near / (near - far), 0};
    const double identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    return ViewVolume::of(projection, identity);
}

TEST(ViewVolumeBoxes, OnlyBoxesWhollyBeyondOnePlaneAreOutside) {
    struct Case {
        double low[3], high[3];
        bool outside;
        const char* what;
    };
    const Case cases[] = {
        {{-100, -100, -5000}, {100, 100, -4000}, false, "straight ahead"},
        {{-100, -100, 1000}, {100, 100, 3000}, true, "behind the eye"},
        {{-100, -100, -40}, {100, 100, 3000}, true, "reaching only to within the near plane"},
        {{-100, -100, -60}, {100, 100, 3000}, false, "crossing the near plane"},
        {{5000, -100, -5000}, {6000, 100, -4000}, true, "beside the window"},
        {{1000, -100, -5000}, {6000, 100, -4000}, false, "across the window's edge"},
        {{-100, 3000, -5000}, {100, 4000, -4000}, true, "above the window"},
        {{-100, -100, -500000}, {100, 100, -450000}, true, "beyond the far plane"},
        // Beside the window on one side of the eye and behind it on the
        // other: no single plane holds all corners, so it is kept.
        {{-20000, -100, -100}, {20000, 100, 100}, false, "across the eye"},
    };
    const ViewVolume view = playView();
    for (const Case& c : cases) EXPECT_EQ(view.boxOutside(c.low, c.high), c.outside) << c.what;
    // The model-view moves the boxes: the eye 10000 along +z sees what was
    // behind it.
    const double projection[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -1, -1, 0, 0, -1, 0};
    const double moved[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -10000, 1};
    const double low[3] = {-100, -100, 1000}, high[3] = {100, 100, 3000};
    EXPECT_FALSE(ViewVolume::of(projection, moved).boxOutside(low, high));
}

TEST(ChangedType, ShowsTheChangedTexturesAndHaloWhileItLasts) {
    Block block;
    block.type = BLOCK_PLAIN;
    block.body.sideTexture = 8;
    block.body.topTexture = 0;
    block.body.changedType = BLOCK_ICE;
    block.body.changedTypeTime = 1;
    EXPECT_EQ(blockTextureSlots(block).side, 6);
    EXPECT_EQ(blockTextureSlots(block).top, 6);
    EXPECT_EQ(haloKind(block), HaloKind::Ice);
    block.body.changedTypeTime = 0;
    EXPECT_EQ(blockTextureSlots(block).top, 0);
    EXPECT_EQ(haloKind(block), HaloKind::None);
    block.type = BLOCK_HURT;
    block.body.changedType = BLOCK_ICE;
    block.body.changedTypeTime = 5;
    EXPECT_EQ(haloKind(block), HaloKind::Hurt);  // its own HURT comes first
}

// The view rules the game's modes use (sim/view_angle.h), as the GL tests
// and the viewer use them: the angle reached from `from` when asking for
// `asked`, and the eye offsets from the craft.
float angleAfter(float from, float asked, bool snap) {
    settings = defaultSettings();
    setProjectionSetter(nullptr);
    Craft craft;
    craft.viewAngle = from;
    updateViewAngle(craft, asked, snap, splitScreenViewRules(false));
    return craft.viewAngle;
}

Craft eyeAt(float angle, const ViewAngleRules& rules, int32_t kind = 1) {
    settings = defaultSettings();
    settings.speed = 1;
    setProjectionSetter(nullptr);
    Craft craft;
    craft.kind = kind;
    updateViewAngle(craft, angle, true, rules);
    return craft;
}

TEST(ViewAngleRule, NarrowsGentlyWidensAtOnce) {
    EXPECT_FLOAT_EQ(angleAfter(60.0f, 35.0f, false), 58.5f);
    EXPECT_FLOAT_EQ(angleAfter(60.0f, 35.0f, true), 35.0f);
    EXPECT_FLOAT_EQ(angleAfter(60.0f, 59.0f, false), 59.0f);  // less than 1.5 narrower
    EXPECT_FLOAT_EQ(angleAfter(40.0f, 90.0f, false), 90.0f);
}

TEST(ViewAngleRule, EyeOffsetsPerMode) {
    EXPECT_EQ(eyeAt(35.0f, singlePlayerViewRules()).camZ, -6000);
    EXPECT_EQ(eyeAt(35.0f, singlePlayerViewRules()).camY, 1800);
    EXPECT_EQ(eyeAt(91.25f, singlePlayerViewRules()).camZ, int(56.25f * 40.0f) - 6000);
    EXPECT_EQ(eyeAt(91.25f, singlePlayerViewRules()).camY, 1800 - int(56.25f * 6.0f));
    EXPECT_EQ(eyeAt(35.0f, splitScreenViewRules(false)).camZ, -5000);
    EXPECT_EQ(eyeAt(35.0f, splitScreenViewRules(true), -1).camZ, 5000);
    EXPECT_EQ(eyeAt(35.0f, splitScreenViewRules(false), -1).camZ, -5000);  // race: always behind
    EXPECT_EQ(eyeAt(35.0f, splitScreenViewRules(true), -1).camY, 1500);
}

}  // namespace

namespace {

Block slab(int x, int y, int z, int width, int height, int length) {
    Block block;
    block.body.x = x; block.body.y = y; block.body.z = z;
    block.body.width = width; block.body.height = height; block.body.length = length;
    return block;
}

class ShadowCasters : public ::testing::Test {
protected:
    void SetUp() override {
        level.blocks.push_back(slab(1000, 0, 0, 2000, 500, 10000));     // 0: the floor
        level.blocks.push_back(slab(500, 1500, 3000, 1000, 300, 2000));  // 1: a slab over it
    }
    bool reaches(int index, double eyeY = 2000) {
        return shadowReachesAnything(level, index, nullptr, 0, shadowFloor(level, nullptr, 0), eyeY);
    }
    Level level;
};

TEST_F(ShadowCasters, FloorBelowASlabReceivesItsShadow) {
    EXPECT_TRUE(reaches(1));
    EXPECT_FALSE(reaches(0));  // nothing under the floor
}

TEST_F(ShadowCasters, NeighbourBesideTheVolumeDoesNotCount) {
    level.blocks.edit(1) = slab(3100, 0, 0, 1000, 500, 10000);  // beside the floor, rounding and all
    EXPECT_FALSE(reaches(0));
    EXPECT_FALSE(reaches(1));
    level.blocks.edit(1) = slab(2040, -800, 0, 1000, 500, 10000);  // its rounding reaches under the floor's edge
    EXPECT_TRUE(reaches(0));
}

TEST_F(ShadowCasters, OwnBottomCountsWhenTheEyeIsBelowIt) {
    EXPECT_FALSE(reaches(0, 2000));
    EXPECT_TRUE(reaches(0, -600));
}

TEST_F(ShadowCasters, CraftUnderABlockReceivesItsShadow) {
    Craft craft;
    craft.x = 0; craft.ypos = -3000; craft.z = 5000;
    const Craft* crafts[] = {&craft};
    const int floorY = shadowFloor(level, crafts, 1);
    EXPECT_LE(floorY, -3200);
    EXPECT_TRUE(shadowReachesAnything(level, 0, crafts, 1, floorY, 2000));
    craft.x = 5000;  // far beside it
    EXPECT_FALSE(shadowReachesAnything(level, 0, crafts, 1, floorY, 2000));
}

TEST_F(ShadowCasters, MovingBlockCountsWhereItIsNow) {
    Block& mover = level.blocks.edit(1);
    mover.body.x = 5000;  // starts beside the floor
    mover.body.pointX = 500; mover.body.pointY = 1500; mover.body.pointZ = 3000;
    mover.body.movePeriod = 1;
    mover.body.moveTime = 0;
    EXPECT_FALSE(reaches(1));
    mover.body.moveTime = 50;  // a full leg: over the floor
    EXPECT_TRUE(reaches(1));
}

}  // namespace

namespace {

TEST(CraftShape, BodyWidensWhileFallingUpToACap) {
    const CraftRadii resting = craftRadii(0);
    EXPECT_FLOAT_EQ(resting.p, 150);
    EXPECT_FLOAT_EQ(resting.q, 200);
    EXPECT_FLOAT_EQ(resting.r, 140);
    const CraftRadii rising = craftRadii(125);  // s = 62: narrower
    EXPECT_FLOAT_EQ(rising.p, 88);
    const CraftRadii falling = craftRadii(-160);  // s = -80: still follows
    EXPECT_FLOAT_EQ(falling.q, 280);
    const CraftRadii fast = craftRadii(-300);
    EXPECT_FLOAT_EQ(fast.p, 230);
    EXPECT_FLOAT_EQ(fast.q, 280);
    EXPECT_FLOAT_EQ(fast.r, 220);
    EXPECT_FLOAT_EQ(craftRadii(-163).p, 230);  // s = -81 (truncated): capped
}

TEST(CraftShape, FlamesFollowTheMotion) {
    ExhaustTips tips = exhaustTips(1, 1000, 1200, false);
    EXPECT_FLOAT_EQ(tips.inner, -365);
    EXPECT_TRUE(tips.outerShown);
    EXPECT_FLOAT_EQ(tips.outer, -470);
    tips = exhaustTips(1, 1000, 1400, false);  // long flames are capped
    EXPECT_FLOAT_EQ(tips.inner, -565);
    EXPECT_FLOAT_EQ(tips.outer, -670);
    tips = exhaustTips(1, 1000, 900, false);  // moving backward: short inner flames only
    EXPECT_FLOAT_EQ(tips.inner, -165);
    EXPECT_FALSE(tips.outerShown);
    tips = exhaustTips(-1, 1000, 800, false);  // facing -z and moving that way
    EXPECT_TRUE(tips.outerShown);
    EXPECT_FLOAT_EQ(tips.inner, -365);
    tips = exhaustTips(1, 1000, 1200, true);  // the ghost's flames are half as long
    EXPECT_FLOAT_EQ(tips.inner, -265);
}

}  // namespace
