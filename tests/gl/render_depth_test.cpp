#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <vector>

#include "app/startup.h"
#include "core/globals.h"
#include "core/settings.h"
#include "render/camera.h"
#include "render/objects.h"
#include "render/textures.h"
#include "render/track.h"
#include "support/depth_target.h"
#include "support/gl_context.h"
#include "support/scene_blocks.h"

// The track pass draws its blocks near to far, so that hidden pixels fail
// the depth test before they are textured. With the depth test LEQUAL a
// later surface wins wherever two share a depth value: the far-to-near
// order let the nearer one win, the near-to-far order lets the farther one
// win. These tests draw a long track both ways with 16 and 24 depth bits.

namespace {

class TrackDepth : public ::testing::Test {
protected:
    void SetUp() override {
        gl = &sharedGlContext();
        ASSERT_TRUE(gl->ok()) << gl->error();
        createTestTextures();
        settings.details = 2;
        settings.drawDist = 200000;
        settings.speed = 1;
        glowPass = false;
        wireframe = false;
        level = referenceTrack();
        craft.x = 900;
        craft.ypos = 650;
        craft.z = 3000;
        craft.prevX = craft.x;
        craft.prevZ = craft.z;
        placeCameraAtStart(craft, ViewVariant::Single);
    }

    // The track pass in its own order, or block by block from the far end
    // (the blocks the pass draws, no others).
    std::vector<unsigned char> picture(const DepthTarget& target, bool farToNear) {
        target.clear();
        applyCamera(craft);
        if (!farToNear) {
            drawTrack(level, craft.z);
            return target.read();
        }
        for (int i = level.blockCount() - 1; i >= 0; --i) {
            const Block& block = level.blocks[size_t(i)];
            const int ahead = block.body.z - craft.z;
            if (ahead < settings.drawDist && block.body.z + block.body.length + 5000 > craft.z)
                drawBlock(block, false, ahead);
        }
        return target.read();
    }

    // Pixels where the two orders disagree, drawn with this depth format.
    size_t orderDifference(GLenum depthFormat, int& depthBits) {
        DepthTarget target(gl->width(), gl->height(), depthFormat);
        EXPECT_TRUE(target.ok());
        depthBits = target.depthBits();
        picture(target, false);  // compiles the bodies
        const auto nearToFar = picture(target, false);
        const auto farToNear = picture(target, true);
        EXPECT_GT(differingPixels(nearToFar, std::vector<unsigned char>(nearToFar.size())), 100000u)
            << "the track is drawn";
        return differingPixels(nearToFar, farToNear);
    }

    GlContext* gl = nullptr;
    Level level;
    Craft craft;
};

}  // namespace

// With 16 bits a far block's near face shares depth values with the top of
// the block 300 units in front of it once both lie some 60000 units ahead:
// the near-to-far pass shows streaks of the farther faces across the far
// tops of the lanes (about 280 pixels in this view).
TEST_F(TrackDepth, SixteenBitsShowFarSurfacesThroughNearOnes) {
    int bits = 0;
    const size_t differing = orderDifference(GL_DEPTH_COMPONENT16, bits);
    ASSERT_EQ(bits, 16);
    EXPECT_GT(differing, 100u);
}

// With 24 bits the two orders differ only where two blocks' faces are
// coplanar (a slab's side over a lane block's): at most 0.1 % of the window.
TEST_F(TrackDepth, TwentyFourBitsGiveTheFarToNearPicture) {
    int bits = 0;
    const size_t differing = orderDifference(GL_DEPTH_COMPONENT24, bits);
    ASSERT_GE(bits, 24);
    EXPECT_LE(differing, size_t(gl->width()) * size_t(gl->height()) / 1000);
}

// The window the game and the tests draw in.
TEST_F(TrackDepth, WindowHasTwentyFourDepthBits) {
    GLint bits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &bits);
    EXPECT_GE(bits, 24);
}

// The game asks for 24 bits and takes 16 from a driver that has no more;
// a driver that refuses both leaves the game without a window.
TEST(DepthRequest, TwentyFourBitsFirstThenSixteen) {
    struct Case {
        int mostBits;  // the most the fake driver gives; 0: no mode at all
        int expected;
        std::vector<int> asked;
    };
    const Case cases[] = {{32, 24, {24}}, {24, 24, {24}}, {16, 16, {24, 16}}, {0, 0, {24, 16}}};
    for (const Case& c : cases) {
        std::vector<int> asked;
        const int got = setVideoModeWithDepth([&](int bits) {
            asked.push_back(bits);
            return c.mostBits > 0 && bits <= c.mostBits;
        });
        EXPECT_EQ(got, c.expected) << "driver with " << c.mostBits << " bits";
        EXPECT_EQ(asked, c.asked) << "driver with " << c.mostBits << " bits";
    }
}

// The passes leave out blocks wholly outside the view (behind the eye,
// beside the window): halfway along the track, with as many blocks behind
// as ahead, they give the picture of every block drawn near to far.
TEST_F(TrackDepth, BlocksOutsideTheViewAreLeftOutWithoutChangingThePicture) {
    craft.x = 900;
    craft.z = 60000;
    craft.prevZ = craft.z;
    for (ViewVariant variant : {ViewVariant::Single, ViewVariant::Split}) {
        placeCameraAtStart(craft, variant);
        const bool split = variant == ViewVariant::Split;
        auto frame = [&](bool everyBlock) {
            gl->beginFrame();
            applyCamera(craft);
            if (everyBlock) {
                for (const Block& block : level.blocks) drawBlock(block, false, block.body.z - craft.z);
            } else if (split) {
                drawSplitTrack(level, craft, 1, SplitTrackOptions());
            } else {
                drawTrack(level, craft.z);
            }
            return readWindow(*gl);
        };
        frame(false);  // compiles the bodies
        const auto passed = frame(false);
        EXPECT_EQ(differingPixels(passed, frame(true)), 0u) << (split ? "split view" : "full window");
        EXPECT_GT(differingPixels(passed, std::vector<unsigned char>(passed.size())), 100000u);
    }
}
