#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/globals.h"
#include "core/settings.h"
#include "render/camera.h"
#include "render/objects.h"
#include "render/shadow_casters.h"
#include "render/shadow_volumes.h"
#include "render/text.h"
#include "render/textures.h"
#include "render/track.h"
#include "support/gl_context.h"
#include "support/scene_blocks.h"

namespace {

struct ScreenPoint {
    double x, y;
};

class Scene : public ::testing::Test {
protected:
    void SetUp() override {
        gl = &sharedGlContext();
        ASSERT_TRUE(gl->ok()) << gl->error();
        createTestTextures();
        settings.details = 2;
        settings.drawDist = 200000;
        settings.shadowDist = 50000;
        settings.shadows = 1;
        settings.speed = 1;
        settings.animDivisor = 1;
        glowPass = false;
        wireframe = false;
        craft = Craft();
        craft.x = 0;
        craft.ypos = 150;
        craft.z = 0;
        craft.prevX = craft.x;
        craft.prevZ = craft.z;
        gl->beginFrame();
        placeCameraAtStart(craft, ViewVariant::Single);
    }

    void beginView() {
        gl->beginFrame();
        applyCamera(craft);
    }

    // Where a world point lands in window pixels with the current matrices.
    ScreenPoint project(double x, double y, double z) {
        GLdouble model[16], projection[16];
        GLint viewport[4];
        glGetDoublev(GL_MODELVIEW_MATRIX, model);
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glGetIntegerv(GL_VIEWPORT, viewport);
        ScreenPoint p{};
        double depth = 0;
        gluProject(x, y, z, model, projection, viewport, &p.x, &p.y, &depth);
        return p;
    }

    int brightnessAt(const ScreenPoint& p) {
        const GlContext::Pixel pixel = gl->pixel(int(p.x), int(p.y));
        return pixel.r + pixel.g + pixel.b;
    }

    GlContext* gl = nullptr;
    Craft craft;
    Level level;
};

TEST_F(Scene, BlockStraightAheadFillsItsProjectedRegion) {
    level.blocks.push_back(makeBlock(1000, 0, 2000, 2000, 500, 4000));
    beginView();
    drawTrack(level, craft.z);
    // The top face's centre and points just inside its corners are lit.
    const ScreenPoint centre = project(0, 0, 4000);
    EXPECT_GT(brightnessAt(centre), 60);
    for (const ScreenPoint& p : {project(-900, 0, 2100), project(900, 0, 2100), project(-900, 0, 5900), project(900, 0, 5900)})
        EXPECT_GT(brightnessAt(p), 60);
    // Straight ahead: centred across the window, below the point looked at.
    EXPECT_NEAR(centre.x, gl->width() / 2.0, 2.0);
    EXPECT_LT(centre.y, gl->height() / 2.0);
    // Nothing beyond the block's outline (plus its 50-unit rounding).
    const ScreenPoint farLeft = project(1200, 0, 4000), farAbove = project(0, 0, 6300);
    EXPECT_EQ(brightnessAt({farLeft.x - 5, farLeft.y}), 0);
    EXPECT_EQ(brightnessAt({centre.x, farAbove.y + 5}), 0);
}

TEST_F(Scene, BlockBeyondDrawDistanceIsNotDrawn) {
    settings.drawDist = 100000;
    level.blocks.push_back(makeBlock(1000, 0, 100000, 2000, 500, 4000));
    beginView();
    drawTrack(level, craft.z);
    EXPECT_EQ(gl->brightness(0, 0, gl->width(), gl->height()), 0);

    level.blocks.edit(0) = makeBlock(1000, 0, 99000, 2000, 500, 4000);
    beginView();
    drawTrack(level, craft.z);
    EXPECT_GT(gl->brightness(0, 0, gl->width(), gl->height()), 0);
}

TEST_F(Scene, BlockFarBehindIsSkippedUnlessItHasASecondPoint) {
    // A camera looking back from far ahead: blocks more than 5000 behind the
    // reference are not drawn by the pass.
    level.blocks.push_back(makeBlock(1000, 0, -20000, 2000, 500, 4000));
    craft.z = 0;
    beginView();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0, 3000, 5000, 0, 0, -18000, 0, 1, 0);
    drawTrack(level, craft.z);
    EXPECT_EQ(gl->brightness(0, 0, gl->width(), gl->height()), 0);
    level.blocks.edit(0).body.pointX = 1000;  // may move or carry an item
    level.blocks.edit(0).body.pointY = -18000;
    gl->beginFrame();
    gluLookAt(0, 3000, 5000, 0, 0, -18000, 0, 1, 0);
    drawTrack(level, craft.z);
    EXPECT_GT(gl->brightness(0, 0, gl->width(), gl->height()), 0);
}

// The darkening quad blends (0.2, 0.2, 0.2) at alpha 0.6 over a pixel; the
// probes sum the three channels.
int shaded(int lit) { return lit * 4 / 10 + 3 * 31; }

class Shadows : public Scene {
protected:
    // The track, the craft and the shadows, seen from behind the craft. By
    // default the craft hovers 500 above the wide block SetUp lays.
    void drawShadowScene(int craftHeight = 650, int craftZ = 6000) {
        craft.ypos = craftHeight;
        craft.z = craftZ;
        craft.prevZ = craft.z;
        placeCameraAtStart(craft, ViewVariant::Single);
        beginView();
        drawTrack(level, craft.z);
        drawCraftRecord(craft);
        const Craft* crafts[] = {&craft};
        drawShadows(level, crafts, 1, craft.z);
    }
    void SetUp() override {
        Scene::SetUp();
        level.blocks.push_back(makeBlock(3000, 0, 0, 6000, 500, 20000));
    }
    // Lanes of blocks at different heights and slabs over some of them
    // (and a block moving across the lanes), in place of SetUp's block.
    void layLanes(bool withMover) {
        level.blocks.clear();
        for (int row = 0; row < 12; ++row)
            for (int lane = 0; lane < 3; ++lane)
                level.blocks.push_back(
                    makeBlock(2500 - lane * 1700, (row % 3) * 150 - lane * 300, row * 2500, 1500, 500, 2000));
        level.blocks.push_back(makeBlock(900, 1400, 5200, 1800, 300, 1500));
        level.blocks.push_back(makeBlock(-800, 1600, 12000, 1500, 300, 3000));
        if (withMover) {
            Block mover = makeBlock(2500, 1200, 20000, 1500, 300, 2000);
            mover.body.pointX = 800; mover.body.pointY = 1200; mover.body.pointZ = 20000;
            mover.body.movePeriod = 1; mover.body.moveTime = 20;
            level.blocks.push_back(mover);
        }
        std::vector<Block>& blocks = level.blocks.editAll();
        std::stable_sort(blocks.begin(), blocks.end(),
                         [](const Block& a, const Block& b) { return a.body.z < b.body.z; });
    }
};

TEST_F(Shadows, CraftShadowDarkensTheBlockUnderIt) {
    settings.shadows = 0;
    drawShadowScene();
    const ScreenPoint under = project(0, 0, 6000);
    const ScreenPoint aside = project(1500, 0, 6000);
    const int litUnder = brightnessAt(under);
    const int litAside = brightnessAt(aside);
    ASSERT_GT(litUnder, 100);

    settings.shadows = 1;
    drawShadowScene();
    EXPECT_NEAR(brightnessAt(under), shaded(litUnder), 6);
    EXPECT_NEAR(brightnessAt(aside), litAside, 6);  // beside the shadow: untouched
}

TEST_F(Shadows, NothingIsDarkenedWhenShadowsAreOff) {
    settings.shadows = 0;
    drawShadowScene();
    const long off = gl->brightness(0, 0, gl->width(), gl->height());
    settings.shadows = 0;
    drawShadowScene();
    EXPECT_EQ(gl->brightness(0, 0, gl->width(), gl->height()), off);
    GLint stencilBits = 0;
    glGetIntegerv(GL_STENCIL_BITS, &stencilBits);
    EXPECT_GE(stencilBits, 8);
}

TEST_F(Shadows, GlowPassSkipsTheShadows) {
    // Both in the glow pass, which draws its blocks chamfered.
    glowPass = true;
    settings.shadows = 0;
    drawShadowScene();
    const long off = gl->brightness(0, 0, gl->width(), gl->height());
    settings.shadows = 1;
    drawShadowScene();
    glowPass = false;
    EXPECT_EQ(gl->brightness(0, 0, gl->width(), gl->height()), off);
}

TEST_F(Shadows, RaisedBlockShadowsTheBlockBelowButNotItself) {
    level.blocks.push_back(makeBlock(500, 1500, 8000, 1000, 200, 2000));
    settings.shadows = 0;
    drawShadowScene();
    const ScreenPoint under = project(0, 0, 9000);
    const ScreenPoint onTop = project(0, 1500, 9000);
    const int litUnder = brightnessAt(under), litTop = brightnessAt(onTop);
    ASSERT_GT(litUnder, 100);
    settings.shadows = 1;
    drawShadowScene();
    EXPECT_NEAR(brightnessAt(under), shaded(litUnder), 6);
    EXPECT_NEAR(brightnessAt(onTop), litTop, 6);
}

TEST_F(Scene, SplitViewportsPutCraftAInTheLowerHalf) {
    auto fillViewport = [](float r, float g, float b) {
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_LIGHTING);
        glColor3f(r, g, b);
        beginOverlay();
        glBegin(GL_QUADS);
        glVertex2i(0, 0); glVertex2i(screenWidth, 0); glVertex2i(screenWidth, screenHeight); glVertex2i(0, screenHeight);
        glEnd();
        endOverlay();
        glEnable(GL_LIGHTING);
        glEnable(GL_TEXTURE_2D);
    };
    setSplitViewport(SPLIT_PLAYER_A);
    fillViewport(1, 0, 0);
    setSplitViewport(SPLIT_PLAYER_B);
    fillViewport(0, 1, 0);
    setWholeViewport();
    EXPECT_GT(gl->pixel(512, 10).r, 200);   // A: lower half
    EXPECT_GT(gl->pixel(512, 383).r, 200);
    EXPECT_GT(gl->pixel(512, 384).g, 200);  // B: upper half
    EXPECT_GT(gl->pixel(512, 760).g, 200);
    EXPECT_LT(gl->pixel(512, 760).r, 10);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[3], 768);
}

TEST_F(Scene, FullFrameAtEveryDetailLeavesGlStateBalanced) {
    for (int type = 0; type < BLOCK_TYPE_COUNT; ++type)
        level.blocks.push_back(makeBlock(1000 - (type % 3) * 2500, -200 * type, 3000 + type * 4000, 2000, 600, 3000, type));
    level.blocks[5].body.pulse = 0.6f;
    for (int details = 0; details <= 3; ++details) {
        settings.details = details;
        beginView();
        drawBackdrop(BACKDROP_SLOTS[0], false);
        drawTrack(level, craft.z);
        drawCraftRecord(craft);
        const Craft* crafts[] = {&craft};
        drawShadows(level, crafts, 1, craft.z);
        drawHalos(level, craft.z, HALO_SINGLE);
        drawCraftTrail(craft);
        drawJumpEffect(craft);
        drawBlockItems(level, craft, false, false);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "details " << details;
        GLint modelview = 0, projection = 0;
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &modelview);
        glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &projection);
        EXPECT_EQ(modelview, 1);
        EXPECT_EQ(projection, 1);
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
        EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
        EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
        EXPECT_FALSE(glIsEnabled(GL_BLEND));
        EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST));
    }
}

TEST_F(Scene, HurtTopThrobsRedAndPlainTopKeepsItsColour) {
    level.blocks.push_back(makeBlock(1000, 0, 2000, 2000, 500, 4000, BLOCK_HURT));
    // Unlit, so the probe sees the colour the top is drawn with (the lights'
    // full ambient would wash out the difference).
    beginView();
    glDisable(GL_LIGHTING);
    drawTrack(level, craft.z);
    const ScreenPoint top = project(0, 0, 4000);
    const GlContext::Pixel plain = gl->pixel(int(top.x), int(top.y));
    level.blocks[0].body.pulse = 1.2f;  // green and blue |1.2 - 1| + 0.45 = 0.65: red
    beginView();
    glDisable(GL_LIGHTING);
    drawTrack(level, craft.z);
    const GlContext::Pixel throb = gl->pixel(int(top.x), int(top.y));
    EXPECT_NEAR(throb.g, plain.g * 65 / 100, 3);
    EXPECT_NEAR(throb.b, plain.b * 65 / 100, 3);
    EXPECT_NEAR(throb.r, plain.r, 3);
    level.blocks[0].body.pulse = 0.0f;
    beginView();
    glDisable(GL_LIGHTING);
    drawTrack(level, craft.z);
    const GlContext::Pixel still = gl->pixel(int(top.x), int(top.y));
    EXPECT_EQ(still.g, plain.g);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[1], 1.0f);  // the colour in force is given back
    glEnable(GL_LIGHTING);
}

TEST_F(Scene, HaloSurroundsIceBlockInBlue) {
    level.blocks.push_back(makeBlock(1000, 0, 2000, 2000, 500, 4000, BLOCK_ICE));
    beginView();
    drawHalos(level, craft.z, HALO_SPLIT);
    // The grown copy reaches 100 beyond the block's side.
    const ScreenPoint beside = project(-1060, -100, 4000);
    const GlContext::Pixel p = gl->pixel(int(beside.x), int(beside.y));
    EXPECT_GT(p.b, 100);
    EXPECT_LT(p.r, 10);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(Scene, BackdropBehindTheTrackGivesTheSamePicture) {
    for (int type = 0; type < BLOCK_TYPE_COUNT; ++type)
        level.blocks.push_back(makeBlock(2000 - (type % 3) * 2000, -300 * (type % 4), 2000 + type * 3000, 1800, 600, 2500, type));
    auto frame = [&](bool behind) {
        beginView();
        if (!behind) drawBackdrop(BACKDROP_SLOTS[2], false);
        drawTrack(level, craft.z);
        if (behind) drawBackdropBehind(BACKDROP_SLOTS[2], false);
        drawCraftRecord(craft);
        drawHalos(level, craft.z, HALO_SINGLE);
        return readWindow(*gl);
    };
    const std::vector<unsigned char> before = frame(false), behind = frame(true);
    EXPECT_EQ(differingPixels(before, behind), 0u);
    EXPECT_GT(gl->brightness(0, gl->height() - 50, gl->width(), gl->height()), 0);  // the sky shows
}

TEST_F(Shadows, LeavingOutVolumesThatReachNothingKeepsThePicture) {
    // Lanes of blocks at different heights, slabs over some of them, a
    // moving block, and views from above and from below the slabs.
    layLanes(true);
    for (int eyeHeight : {650, -2500}) {
        // 0: every volume, 1: only those reaching something, 2: no shadows.
        std::vector<unsigned char> pictures[3];
        for (int culled = 0; culled < 3; ++culled) {
            setShadowCasterCulling(culled == 1);
            settings.shadows = culled == 2 ? 0 : 1;
            drawShadowScene(eyeHeight, 3000);
            pictures[culled] = readWindow(*gl);
        }
        setShadowCasterCulling(true);
        size_t differing = 0;
        for (size_t i = 0; i < pictures[0].size(); ++i) differing += pictures[0][i] != pictures[1][i];
        EXPECT_EQ(differing, 0u) << "craft at height " << eyeHeight;
        size_t shadowed = 0;
        for (size_t i = 0; i < pictures[0].size(); ++i) shadowed += pictures[0][i] != pictures[2][i];
        EXPECT_GT(shadowed, 1000u) << "the scene casts shadows at height " << eyeHeight;
    }
}

// The darkening quad covers only the window rectangle the volumes reach:
// the same picture from above and from below the slabs (where volumes reach
// behind the eye and the whole window is shaded), and in each half of a
// split view with only the crafts casting.
TEST_F(Shadows, ShadingOnlyWhereVolumesReachKeepsThePicture) {
    layLanes(false);
    for (int eyeHeight : {650, -2500}) {
        std::vector<unsigned char> pictures[2];
        for (int bounded = 0; bounded < 2; ++bounded) {
            setBoundedShadowShade(bounded == 1);
            drawShadowScene(eyeHeight, 3000);
            pictures[bounded] = readWindow(*gl);
        }
        EXPECT_EQ(differingPixels(pictures[0], pictures[1]), 0u) << "craft at height " << eyeHeight;
    }
    Craft other = craft;
    other.x = -800;
    other.z = craft.z + 2000;
    std::vector<unsigned char> split[2];
    for (int bounded = 0; bounded < 2; ++bounded) {
        setBoundedShadowShade(bounded == 1);
        gl->beginFrame();
        for (SplitPlayer player : {SPLIT_PLAYER_A, SPLIT_PLAYER_B}) {
            Craft& viewer = player == SPLIT_PLAYER_A ? craft : other;
            placeCameraAtStart(viewer, ViewVariant::Split);
            glLoadIdentity();
            applyCamera(viewer);
            setSplitViewport(player);
            drawSplitTrack(level, viewer, 1, SplitTrackOptions());
            drawCraftRecord(craft);
            drawCraftRecord(other);
            drawSplitShadows(craft, other);
        }
        setWholeViewport();
        split[bounded] = readWindow(*gl);
    }
    setBoundedShadowShade(true);
    EXPECT_EQ(differingPixels(split[0], split[1]), 0u) << "split view";
    settings.shadows = 0;
    drawShadowScene(650, 3000);
    const auto unshaded = readWindow(*gl);
    settings.shadows = 1;
    drawShadowScene(650, 3000);
    EXPECT_GT(differingPixels(unshaded, readWindow(*gl)), 1000u) << "the scene casts shadows";
}

// Every block type (so the textures change from block to block), stacked
// and overlapping blocks, throbbing HURT tops, far blocks at low detail and
// two powerup blocks with stars.
Level mixedTrack() {
    Level level;
    for (int i = 0; i < 40; ++i) {
        Block block = makeBlock(2400 - (i % 3) * 2000, -250 * (i % 4), 1500 + i * 1900, 1700 - (i % 5) * 200,
                                400 + (i % 3) * 150, 1600 + (i % 4) * 400, i % BLOCK_TYPE_COUNT);
        if (i % 6 == 1) block.body.pulse = 1.3f;
        level.blocks.push_back(block);
        if (i % 7 == 3) level.blocks.push_back(makeBlock(1200, 900, 1500 + i * 1900 + 500, 2600, 300, 900));
    }
    for (int i : {4, 11}) {
        BlockBody& body = level.blocks.edit(size_t(i)).body;
        body.flags |= FLAG_POWERUP;
        body.pointX = body.x - body.width / 2;
        body.pointY = body.z + body.length / 2;
    }
    return level;
}

// The track passes queue their blocks and draw them in one run (the split
// view's stars after the blocks); the picture must be the very one the
// blocks give drawn one by one.
TEST_F(Scene, TrackPassGivesTheBlockByBlockPicture) {
    level = mixedTrack();
    settings.details = 2;
    auto frame = [&](bool blockByBlock) {
        beginView();
        glColor3f(0.9f, 0.7f, 1.0f);  // the pass draws in the colour in force
        if (blockByBlock)
            for (const Block& block : level.blocks) drawBlock(block, false, block.body.z - craft.z);
        else
            drawTrack(level, craft.z);
        return readWindow(*gl);
    };
    frame(false);  // compiles the bodies: a body drawn while it compiles may differ by a level
    EXPECT_EQ(differingPixels(frame(true), frame(false)), 0u);
    SplitTrackOptions options;
    options.leadingMark = 30000;
    options.powerupItems = true;
    options.spinAngle = 20;
    placeCameraAtStart(craft, ViewVariant::Split);
    auto splitFrame = [&](bool blockByBlock) {
        beginView();
        if (!blockByBlock) {
            drawSplitTrack(level, craft, 1, options);
            return readWindow(*gl);
        }
        for (const Block& block : level.blocks) {
            if (block.body.z > options.leadingMark) glColor3f(0.3f, 0.3f, 0.3f);
            else glColor3f(1, 1, 1);
            drawBlock(block, false, block.body.z - craft.z);
            const BlockBody& b = block.body;
            if (b.has(FLAG_POWERUP)) drawBonusStar(b.z % 70 + options.spinAngle, b.pointX, b.y + 200, b.pointY, 1, 1, 0);
        }
        return readWindow(*gl);
    };
    const auto byBlock = splitFrame(true);
    EXPECT_EQ(differingPixels(byBlock, splitFrame(false)), 0u);
    EXPECT_GT(gl->brightness(0, 0, gl->width(), gl->height()), 0);
}

// The two-player views draw their half-height backdrops behind the track
// too; both halves, facing either way, keep their picture.
TEST_F(Scene, SplitViewsGiveTheSamePictureWithTheBackdropBehind) {
    level = mixedTrack();
    Craft other = craft;
    other.z = 60000;
    other.kind = -1;  // faces -z, as player B of a castle attack
    placeCameraAtStart(craft, ViewVariant::Split);
    placeCameraAtStart(other, ViewVariant::SplitFacing);
    auto frame = [&](bool behind) {
        gl->beginFrame();
        const Craft* viewers[] = {&craft, &other};
        for (int player = 0; player < 2; ++player) {
            const Craft& viewer = *viewers[player];
            setSplitViewport(player == 0 ? SPLIT_PLAYER_A : SPLIT_PLAYER_B);
            loadSplitProjection(viewer);
            glMatrixMode(GL_MODELVIEW);
            glLoadIdentity();
            applyCamera(viewer);
            const int slot = player == 0 ? TEX_SPACE1 : TEX_SPACE2;
            if (!behind) drawBackdrop(slot, true);
            TrackBackdrop backdrop(slot, true, behind);
            drawSplitTrack(level, viewer, player == 0 ? 1 : -1, SplitTrackOptions());
            backdrop.behindTrack();
            drawCraftRecord(craft);
            drawSplitHalos(level, viewer.camZ, player == 0 ? 1 : -1, HALO_SPLIT);
        }
        setWholeViewport();
        return readWindow(*gl);
    };
    frame(true);  // compiles the bodies
    const auto first = frame(false);
    EXPECT_EQ(differingPixels(first, frame(true)), 0u);
    // Both halves show track and sky.
    const long lower = gl->brightness(0, 0, gl->width(), gl->height() / 2);
    const long upper = gl->brightness(0, gl->height() / 2, gl->width(), gl->height());
    EXPECT_GT(lower, 0);
    EXPECT_GT(upper, 0);
}

TEST_F(Scene, RaceDimsBlocksBeyondTheLeadingMark) {
    level.blocks.push_back(makeBlock(1000, 0, 2000, 2000, 500, 4000));
    placeCameraAtStart(craft, ViewVariant::Split);
    beginView();
    SplitTrackOptions options;
    drawSplitTrack(level, craft, 1, options);
    const ScreenPoint top = project(0, 0, 4000);
    const int lit = brightnessAt(top);
    options.leadingMark = 1999;  // the block lies beyond the mark
    beginView();
    drawSplitTrack(level, craft, 1, options);
    EXPECT_LT(brightnessAt(top), lit * 8 / 10);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[0], 1.0f);  // white again after the pass
}

TEST_F(Scene, WorldTextReadsFromEitherSide) {
    // From behind the text (camera at smaller z) and from beyond it: the
    // text turns to face the viewer, so neither view culls it away.
    for (int side = -1; side <= 1; side += 2) {
        gl->beginFrame();
        gluLookAt(0, 0, 8000.0 * side, 0, 0, 0, 0, 1, 0);
        drawWorldText(8000 * side, 0, 400, 0, 1, 1, 1, 4.0f, "42");
        EXPECT_GT(gl->brightness(0, 0, gl->width(), gl->height()), 0) << "viewer at z " << 8000 * side;
    }
}

}  // namespace
