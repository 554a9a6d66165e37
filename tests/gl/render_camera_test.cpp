#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>

#include "core/globals.h"
#include "core/settings.h"
#include "render/camera.h"
#include "support/gl_context.h"

namespace {

// The vertical field of view and aspect of the projection in force.
struct Frustum {
    double fovDegrees, aspect, nearPlane;
};

Frustum currentFrustum() {
    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    const double f = m[5];
    Frustum frustum;
    frustum.fovDegrees = 2.0 * std::atan(1.0 / f) * 180.0 / M_PI;
    frustum.aspect = f / m[0];
    frustum.nearPlane = m[14] / (m[10] - 1.0);
    return frustum;
}

class ViewAngle : public ::testing::Test {
protected:
    void SetUp() override {
        GlContext& gl = sharedGlContext();
        ASSERT_TRUE(gl.ok()) << gl.error();
        settings.speed = 1;
        glowPass = false;
        forgetWindowSize();
        craft = Craft();
        craft.x = 300;
        craft.ypos = 650;
        craft.z = 10000;
        placeCameraAtStart(craft, ViewVariant::Single);
    }
    void TearDown() override { forgetWindowSize(); }

    Craft craft;
};

TEST_F(ViewAngle, LevelStartPlacesTheEyeBehindAndAboveTheCraft) {
    EXPECT_FLOAT_EQ(craft.viewAngle, 35.0f);
    EXPECT_EQ(craft.camX, 300);
    EXPECT_EQ(craft.camY, 650 + 1800);
    EXPECT_EQ(craft.camZ, 10000 - 6000);
    EXPECT_EQ(craft.camTargetOffset[2], 1000);
    const Frustum f = currentFrustum();
    EXPECT_NEAR(f.fovDegrees, 35.0, 1e-3);
    EXPECT_NEAR(f.aspect, 1024.0 / 768.0, 1e-6);
    EXPECT_NEAR(f.nearPlane, 50.5, 1e-3);
}

TEST_F(ViewAngle, WidensAtOnceAndNarrowsByAtMostOneAndAHalfPerCall) {
    setViewAngle(craft, 35.0f + 400 / 8.0f, false, ViewVariant::Single);
    EXPECT_FLOAT_EQ(craft.viewAngle, 85.0f);
    EXPECT_NEAR(currentFrustum().fovDegrees, 85.0, 1e-3);
    // The eye is pulled closer and lower as the view widens.
    EXPECT_EQ(craft.camZ, 10000 + int(50.0f * 40.0f) - 6000);
    EXPECT_EQ(craft.camY, 650 + 1800 - int(50.0f * 6.0f));
    float previous = craft.viewAngle;
    int calls = 0;
    while (craft.viewAngle > 35.0f && calls < 100) {
        setViewAngle(craft, 35.0f, false, ViewVariant::Single);
        ++calls;
        EXPECT_GE(craft.viewAngle, previous - 1.5f - 1e-4f);
        EXPECT_LT(craft.viewAngle, previous);
        previous = craft.viewAngle;
        EXPECT_NEAR(currentFrustum().fovDegrees, craft.viewAngle, 1e-3);
    }
    // 50 degrees at 1.5 per call: 33 steps down to 35.5, then 35.
    EXPECT_EQ(calls, 34);
    EXPECT_FLOAT_EQ(craft.viewAngle, 35.0f);
    setViewAngle(craft, 36.0f, false, ViewVariant::Single);
    EXPECT_FLOAT_EQ(craft.viewAngle, 36.0f);
}

TEST_F(ViewAngle, SnapNarrowsAtOnce) {
    setViewAngle(craft, 80.0f, false, ViewVariant::Single);
    setViewAngle(craft, 35.0f, true, ViewVariant::Single);
    EXPECT_FLOAT_EQ(craft.viewAngle, 35.0f);
}

TEST_F(ViewAngle, AngleAbove170LeavesProjectionAndEyeAlone) {
    const int camZ = craft.camZ;
    setViewAngle(craft, 171.0f, true, ViewVariant::Single);
    EXPECT_FLOAT_EQ(craft.viewAngle, 35.0f);
    EXPECT_EQ(craft.camZ, camZ);
    EXPECT_NEAR(currentFrustum().fovDegrees, 35.0, 1e-3);
}

TEST_F(ViewAngle, SpeedOffKeepsTheStartProjectionInSinglePlayer) {
    settings.speed = 0;
    placeCameraAtStart(craft, ViewVariant::Single);
    EXPECT_NEAR(currentFrustum().fovDegrees, 40.0, 1e-3);
    EXPECT_EQ(craft.camZ, 10000 - 6000);
    EXPECT_EQ(craft.camY, 650 + 1800);
    setViewAngle(craft, 70.0f, false, ViewVariant::Single);
    EXPECT_NEAR(currentFrustum().fovDegrees, 40.0, 1e-3);
}

TEST_F(ViewAngle, SpeedOffTimeAttackTakesOnlyThirtyFive) {
    settings.speed = 0;
    setViewAngle(craft, 70.0f, false, ViewVariant::TimeAttack);
    EXPECT_FLOAT_EQ(craft.viewAngle, 35.0f);
    setViewAngle(craft, 35.0f, true, ViewVariant::TimeAttack);
    EXPECT_NEAR(currentFrustum().fovDegrees, 35.0, 1e-3);
}

TEST_F(ViewAngle, SplitScreenUsesHalfWindowAspectAndCloserEye) {
    placeCameraAtStart(craft, ViewVariant::Split);
    EXPECT_EQ(craft.camZ, 10000 - 5000);
    EXPECT_EQ(craft.camY, 650 + 1500);
    EXPECT_NEAR(currentFrustum().aspect, 1024.0 / 384.0, 1e-6);
    // In the glow pass the real window's proportions still apply.
    rememberWindowSize(1024, 768);
    screenWidth = 512;
    screenHeight = 512;
    setViewAngle(craft, 35.0f, true, ViewVariant::Split);
    screenWidth = 1024;
    screenHeight = 768;
    EXPECT_NEAR(currentFrustum().aspect, 1024.0 / 384.0, 1e-6);
}

TEST_F(ViewAngle, CraftFacingBackwardKeepsItsEyeOnTheOtherSide) {
    craft.kind = -1;
    placeCameraAtStart(craft, ViewVariant::SplitFacing);
    EXPECT_EQ(craft.camZ, 10000 + 5000);
    EXPECT_EQ(craft.camTargetOffset[2], -1000);
    setViewAngle(craft, 45.0f, false, ViewVariant::SplitFacing);
    EXPECT_EQ(craft.camZ, 10000 - (int(10.0f * 45.0f) - 5000));
}

}  // namespace
