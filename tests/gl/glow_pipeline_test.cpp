#include <gtest/gtest.h>

#include <SDL2/SDL.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>
#include <cmath>
#include <vector>

#include "core/globals.h"
#include "core/settings.h"
#include "render/glow.h"
#include "render/glow_api.h"
#include "support/gl_context.h"

namespace {

// The glow resources are made once per process, as the game does; the
// fixture rebuilds them only where a test needs another target size.
class GlowPipelineTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { context = new GlContext(320, 240); }
    static void TearDownTestSuite() {
        releaseGlow();
        delete context;
        context = nullptr;
    }

    void SetUp() override {
        ASSERT_TRUE(context->ok()) << context->error();
        savedSettings = settings;
    }
    void TearDown() override {
        bindWindowFramebuffer();
        settings = savedSettings;
    }

    // Start-up's glow step for a target of the given size; the shader files
    // are those the data generator wrote beside the game.
    void startGlow(int width, int height) {
        releaseGlow();
        settings.bloomW = width;
        settings.bloomH = height;
        ASSERT_EQ(loadGlowExtensions(), 0);
        ASSERT_TRUE(shadersActive);
        ASSERT_EQ(createGlowTargets(), 0);
        loadGlowShaders();
        ASSERT_TRUE(shadersActive) << "shader files missing from " << get_current_dir_name();
        bindWindowFramebuffer();
    }

    // A plain square of the given grey level in the middle of the glow image,
    // then the three passes: what renderFrame does around the glow pass.
    void glowOfSquare(float level, int half) {
        const int cx = glowResources.width / 2, cy = glowResources.height / 2;
        glowOfRectangle(level, cx - half, cy - half, cx + half, cy + half);
    }

    void glowOfRectangle(float level, int x0, int y0, int x1, int y1) {
        const int width = glowResources.width, height = glowResources.height;
        bindGlowFramebuffer();
        glViewport(0, 0, width, height);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glOrtho(0, width, 0, height, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_DEPTH_TEST);
        glColor3f(level, level, level);
        glRecti(x0, y0, x1, y1);
        glColor3f(1, 1, 1);
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_LIGHTING);
        glEnable(GL_DEPTH_TEST);
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        runGlowBlur();
        bindWindowFramebuffer();
        readGlowImage();
    }

    void readGlowImage() {
        image.assign(size_t(glowResources.width) * glowResources.height * 4, 0);
        glBindTexture(GL_TEXTURE_2D, glowTexture());
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, image.data());
    }
    int red(int x, int y) const { return image[size_t(y * glowResources.width + x) * 4]; }

    static GlContext* context;
    Settings savedSettings;
    std::vector<unsigned char> image;
};

GlContext* GlowPipelineTest::context = nullptr;

TEST_F(GlowPipelineTest, LlvmpipeOffersEverythingTheEffectNeeds) {
    startGlow(256, 256);
    EXPECT_NE(glowTexture(), 0u);
    EXPECT_NE(glowResources.filter.program, 0u);
    EXPECT_GE(glowResources.filter.samplerLocation, 0);
    EXPECT_GE(glowResources.blurVertical.pixelSizeLocation, 0);
    EXPECT_GE(glowResources.blurHorizontal.pixelSizeLocation, 0);
}

TEST_F(GlowPipelineTest, BrightSquareSpreadsASoftHalo) {
    startGlow(256, 256);
    glowOfSquare(1.0f, 10);
    const int c = 128;
    EXPECT_GT(red(c, c), 150);  // the square itself glows
    // Just outside the square the glow fades with distance...
    int near = red(c + 12, c), farther = red(c + 15, c);
    EXPECT_GT(near, 10);
    EXPECT_GT(farther, 0);
    EXPECT_GT(near, farther);
    // ...in both directions, since each pass blurs its own axis.
    EXPECT_GT(red(c, c + 12), 10);
    EXPECT_GT(red(c + 12, c + 12), 0);
    // Far away nothing.
    EXPECT_EQ(red(c + 40, c), 0);
    EXPECT_EQ(red(5, 5), 0);
}

// A bright line one texel thick comes out of the blur as the Gaussian
// (sigma 3 texels, 6 on each side) the shader files stand for: across a row
// for the vertical pass, across a column for the horizontal one. The image
// is 8 bits a channel: a level of rounding.
TEST_F(GlowPipelineTest, BrightLinesSpreadAsTheGaussian) {
    startGlow(256, 256);
    double weights[7], total = 0;
    for (int i = 0; i <= 6; ++i) {
        weights[i] = std::exp(-(i * i) / 18.0);
        total += i == 0 ? weights[i] : 2 * weights[i];
    }
    for (const bool row : {true, false}) {
        if (row) glowOfRectangle(1.0f, 0, 100, 256, 101);
        else glowOfRectangle(1.0f, 100, 0, 101, 256);
        for (int d = -9; d <= 9; ++d) {
            const double expected = std::abs(d) > 6 ? 0.0 : 255.0 * weights[std::abs(d)] / total;
            const int got = row ? red(128, 100 + d) : red(100 + d, 128);
            EXPECT_NEAR(got, expected, 1.0) << (row ? "row" : "column") << ", " << d << " texels out";
        }
    }
}

TEST_F(GlowPipelineTest, DimSurfacesDoNotGlow) {
    startGlow(256, 256);
    glowOfSquare(0.35f, 20);
    EXPECT_EQ(red(128, 128), 0);
    EXPECT_EQ(red(128 + 22, 128), 0);
}

TEST_F(GlowPipelineTest, PixelSizeFollowsEachAxis) {
    startGlow(512, 128);
    glowOfSquare(1.0f, 8);
    auto getUniform = reinterpret_cast<PFNGLGETUNIFORMFVARBPROC>(SDL_GL_GetProcAddress("glGetUniformfvARB"));
    ASSERT_NE(getUniform, nullptr);
    float vertical = 0, horizontal = 0;
    getUniform(glowResources.blurVertical.program, glowResources.blurVertical.pixelSizeLocation, &vertical);
    getUniform(glowResources.blurHorizontal.program, glowResources.blurHorizontal.pixelSizeLocation, &horizontal);
    EXPECT_FLOAT_EQ(vertical, 1.0f / 128);
    EXPECT_FLOAT_EQ(horizontal, 1.0f / 512);
    // A wide target blurs the same number of texels either way, so the halo
    // reaches as many texels to the side as above.
    EXPECT_GT(red(256 + 10, 64), 0);
    EXPECT_GT(red(256, 64 + 10), 0);
}

// Runs the shader step from a directory without the shader files.
TEST_F(GlowPipelineTest, UnreadableShaderFileSwitchesTheEffectOff) {
    startGlow(256, 256);
    releaseGlow();
    ASSERT_EQ(loadGlowExtensions(), 0);
    ASSERT_EQ(createGlowTargets(), 0);
    char saved[4096];
    ASSERT_NE(getcwd(saved, sizeof saved), nullptr);
    char empty[] = "/tmp/glow-noshaders-XXXXXX";
    ASSERT_NE(mkdtemp(empty), nullptr);
    ASSERT_EQ(chdir(empty), 0);
    testing::internal::CaptureStdout();
    loadGlowShaders();
    std::string output = testing::internal::GetCapturedStdout();
    ASSERT_EQ(chdir(saved), 0);
    rmdir(empty);
    bindWindowFramebuffer();
    EXPECT_FALSE(shadersActive);
    EXPECT_EQ(output, "Could not read shaders/blurh.frag. Shaders are deactivated.\n");
    EXPECT_EQ(glowTexture(), 0u);
    EXPECT_EQ(glowResources.framebuffer, 0u);
}

TEST_F(GlowPipelineTest, CompileErrorsArePrintedAndTheEffectStaysOn) {
    char saved[4096];
    ASSERT_NE(getcwd(saved, sizeof saved), nullptr);
    char dir[] = "/tmp/glow-badshader-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    std::string shaders = std::string(dir) + "/shaders";
    ASSERT_EQ(mkdir(shaders.c_str(), 0755), 0);
    for (const char* name : {"blurh.frag", "blurv.frag"}) {
        std::ifstream in(std::string(saved) + "/shaders/" + name);
        std::ofstream(shaders + "/" + name) << in.rdbuf();
    }
    std::ofstream(shaders + "/filter.frag") << "void main() { gl_FragColor = undefinedThing; }\n";
    releaseGlow();
    ASSERT_EQ(loadGlowExtensions(), 0);
    ASSERT_EQ(createGlowTargets(), 0);
    ASSERT_EQ(chdir(dir), 0);
    testing::internal::CaptureStdout();
    loadGlowShaders();
    std::string output = testing::internal::GetCapturedStdout();
    ASSERT_EQ(chdir(saved), 0);
    bindWindowFramebuffer();
    EXPECT_TRUE(shadersActive);
    EXPECT_NE(output, "");
    EXPECT_EQ(output.back(), '\n');
    for (const char* name : {"/filter.frag", "/blurh.frag", "/blurv.frag"}) std::remove((shaders + name).c_str());
    rmdir(shaders.c_str());
    rmdir(dir);
}

// A target the driver cannot make (here 0 x 0) must not keep the window
// from drawing: the frames after start-up go to the window again.
TEST_F(GlowPipelineTest, IncompleteTargetGivesTheWindowBack) {
    releaseGlow();
    settings.bloomW = 0;
    settings.bloomH = 0;
    ASSERT_EQ(loadGlowExtensions(), 0);
    testing::internal::CaptureStdout();
    EXPECT_EQ(createGlowTargets(), -1);
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(output, "Framebuffer incomplete attachment.\n");
    GLint bound = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &bound);
    EXPECT_EQ(bound, 0);
    EXPECT_EQ(glowResources.framebuffer, 0u);
    EXPECT_EQ(glowTexture(), 0u);

    // What the next frame draws reaches the window.
    context->beginFrame();
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, 1, 0, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_DEPTH_TEST);
    glRectf(0, 0, 1, 1);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    EXPECT_EQ(context->pixel(160, 120).r, 255);
    shadersActive = false;
}

TEST(GlowChecks, ExtensionsAreCheckedInOrder) {
    const std::string all =
        "GL_ARB_shader_objects GL_ARB_draw_buffers GL_ARB_fragment_program GL_ARB_fragment_shader "
        "GL_EXT_framebuffer_object GL_ARB_texture_float";
    EXPECT_EQ(firstMissingGlowExtension(all.c_str()), nullptr);
    EXPECT_STREQ(firstMissingGlowExtension("GL_EXT_framebuffer_object GL_ARB_texture_float"),
                 "GL_ARB_shader_objects");
    std::string noFloat = all.substr(0, all.rfind(' '));
    EXPECT_STREQ(firstMissingGlowExtension(noFloat.c_str()), "GL_ARB_texture_float");
    EXPECT_STREQ(firstMissingGlowExtension(nullptr), "GL_ARB_shader_objects");
}

TEST(GlowChecks, FramebufferStatusLines) {
    EXPECT_STREQ(framebufferStatusMessage(GL_FRAMEBUFFER_UNSUPPORTED_EXT), "Unsupported framebuffer format.\n");
    EXPECT_STREQ(framebufferStatusMessage(GL_FRAMEBUFFER_INCOMPLETE_MISSING_ATTACHMENT_EXT),
                 "Framebuffer incomplete, missing attachment.\n");
    EXPECT_STREQ(framebufferStatusMessage(0x1234), "Undefined error.\n");
}

}  // namespace
