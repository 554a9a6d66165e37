#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>

#include "app/startup.h"
#include "support/gl_context.h"

namespace {

// The state start-up sets once for the whole run: everything the drawing
// code takes for granted (lights, projection, depth rule).
class FixedGlState : public ::testing::Test {
protected:
    static void SetUpTestSuite() { context = new GlContext(1024, 768); }

    void SetUp() override {
        ASSERT_TRUE(context->ok()) << context->error();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();  // light positions are taken through the model-view matrix
        setFixedGlState(800, 500);
    }
    // Other tests draw into the whole window with its own state.
    void TearDown() override { setFixedGlState(context->width(), context->height()); }

    static GLint integer(GLenum name) {
        GLint value = 0;
        glGetIntegerv(name, &value);
        return value;
    }
    static void expectLight(GLenum light, GLenum parameter, const GLfloat (&expected)[4]) {
        GLfloat value[4] = {};
        glGetLightfv(light, parameter, value);
        for (int i = 0; i < 4; ++i)
            EXPECT_FLOAT_EQ(value[i], expected[i]) << "light " << (light - GL_LIGHT0) << " parameter 0x"
                                                   << std::hex << parameter << " component " << i;
    }

    static GlContext* context;
};

GlContext* FixedGlState::context = nullptr;

TEST_F(FixedGlState, ViewportClearValuesAndDepthRule) {
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 500);

    GLfloat clear[4] = {1, 1, 1, 1};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    for (GLfloat component : clear) EXPECT_EQ(component, 0.0f);
    GLfloat depth = 0;
    glGetFloatv(GL_DEPTH_CLEAR_VALUE, &depth);
    EXPECT_EQ(depth, 1.0f);

    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(integer(GL_DEPTH_FUNC), GL_LEQUAL);
    EXPECT_EQ(integer(GL_SHADE_MODEL), GL_SMOOTH);
    EXPECT_EQ(integer(GL_PERSPECTIVE_CORRECTION_HINT), GL_FASTEST);
    EXPECT_EQ(integer(GL_POINT_SMOOTH_HINT), GL_FASTEST);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
}

TEST_F(FixedGlState, PerspectiveOfFortyDegreesWithTheWindowsAspect) {
    EXPECT_EQ(integer(GL_MATRIX_MODE), GL_MODELVIEW);
    GLdouble m[16] = {};
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    const double nearPlane = 150.5, farPlane = 120000.0;
    const double f = 1.0 / std::tan(20.0 * M_PI / 180.0);
    EXPECT_NEAR(m[0], f / (800.0 / 500.0), 1e-5);
    EXPECT_NEAR(m[5], f, 1e-5);
    EXPECT_NEAR(m[10], (farPlane + nearPlane) / (nearPlane - farPlane), 1e-6);
    EXPECT_NEAR(m[11], -1.0, 1e-9);
    EXPECT_NEAR(m[14], 2 * farPlane * nearPlane / (nearPlane - farPlane), 1e-3);
    EXPECT_NEAR(m[15], 0.0, 1e-9);
    for (int i : {1, 2, 3, 4, 6, 7, 8, 9, 12, 13}) EXPECT_NEAR(m[i], 0.0, 1e-9) << "element " << i;
}

TEST_F(FixedGlState, TwoWhiteLightsLeftAndRight) {
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT2));
    const GLfloat white[4] = {1, 1, 1, 1};
    const GLfloat left[4] = {-1.5f, 1, 1, 1};
    const GLfloat right[4] = {1.5f, 1, 1, 1};
    expectLight(GL_LIGHT0, GL_SPECULAR, white);
    expectLight(GL_LIGHT0, GL_AMBIENT, white);
    expectLight(GL_LIGHT0, GL_POSITION, left);
    expectLight(GL_LIGHT1, GL_SPECULAR, white);
    expectLight(GL_LIGHT1, GL_AMBIENT, white);
    expectLight(GL_LIGHT1, GL_POSITION, right);
}

}  // namespace
