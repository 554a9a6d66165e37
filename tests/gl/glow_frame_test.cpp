#include <gtest/gtest.h>

#include <SDL2/SDL.h>
#include <GL/gl.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/render_frame.h"
#include "core/gamestate.h"
#include "core/globals.h"
#include "core/settings.h"
#include "render/camera.h"
#include "render/glow.h"
#include "render/glow_api.h"
#include "render/text.h"
#include "render/textures.h"
#include "support/gl_context.h"
#include "support/glow_setup.h"

namespace {

constexpr int WIDTH = 512, HEIGHT = 384;

// A bright square on the left and a line of text on the right, on black:
// what glows and what must not. By default a white square and white text;
// the coloured form is a cyan square drawn lit with colour material, as a
// play frame's surfaces are, then a line of yellow debug text, so the last
// colour set is yellow.
class GlowScene : public Gamestate {
public:
    GlowScene() = default;
    explicit GlowScene(bool coloured) : coloured_(coloured) {}
    void enter() override {}
    int handleEvent(SDL_Event, SDL_Keysym) override { return 0; }
    void update(int) override {}
    void draw() override {
        ++draws;
        if (glowPass) ++glowDraws;
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_DEPTH_TEST);
        beginOverlay();
        glColor3f(coloured_ ? 0 : 1, 1, 1);
        glRecti(int(0.15 * screenWidth), int(0.4 * screenHeight), int(0.25 * screenWidth),
                int(0.6 * screenHeight));
        endOverlay();
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_LIGHTING);
        if (!coloured_) {
            drawText(int(0.55 * screenWidth), int(0.55 * screenHeight), 1.2f, 1, 1, 1, "GLOW TEXT");
            return;
        }
        glEnable(GL_COLOR_MATERIAL);
        drawText(int(0.55 * screenWidth), int(0.9 * screenHeight), 0.6f, 1, 1, 0, "f_speed:    150");
    }
    int draws = 0;
    int glowDraws = 0;

private:
    bool coloured_ = false;
};

// Frames go through the game's own renderFrame. It swaps; Mesa's software
// rasteriser keeps the back buffer's contents, so the finished picture is
// still there to read.
class GlowFrameTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        context = new GlContext(WIDTH, HEIGHT);
        if (!context->ok()) return;
        createTestTextures();
        settings.bloom = 3;
        glowReady = startGlowEffect(256, 256);
    }
    static void TearDownTestSuite() {
        releaseGlow();
        shadersActive = false;
        delete context;
        context = nullptr;
    }

    void SetUp() override {
        ASSERT_TRUE(context->ok()) << context->error();
        ASSERT_TRUE(glowReady) << "glow effect did not start (run from the runtime directory)";
        saved = settings;
        savedState = currentState;
        currentState = &scene;
    }
    void TearDown() override {
        currentState = savedState;
        settings = saved;
    }

    void renderAt(int details, int bloom = 3) {
        settings.details = details;
        settings.bloom = bloom;
        renderFrame();
        frame.assign(size_t(WIDTH) * HEIGHT * 3, 0);
        glFinish();
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, WIDTH, HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, frame.data());
        glReadBuffer(GL_BACK);
    }
    int brightness(int x, int y) const {
        const unsigned char* p = &frame[size_t(y * WIDTH + x) * 3];
        return p[0] + p[1] + p[2];
    }
    // Brightest pixel of a box (left, bottom inclusive; right, top exclusive).
    int brightest(int left, int bottom, int right, int top) const {
        int most = 0;
        for (int y = bottom; y < top; ++y)
            for (int x = left; x < right; ++x) most = std::max(most, brightness(x, y));
        return most;
    }

    static GlContext* context;
    static bool glowReady;
    GlowScene scene;
    Settings saved;
    Gamestate* savedState = nullptr;
    std::vector<unsigned char> frame;
};

GlContext* GlowFrameTest::context = nullptr;
bool GlowFrameTest::glowReady = false;

// The square spans x 76..128 and y 153..230 of the 512 x 384 window.
constexpr int SQUARE_RIGHT = int(0.25 * WIDTH);
constexpr int SQUARE_MIDDLE_Y = HEIGHT / 2;

TEST_F(GlowFrameTest, UltraGivesTheBrightSquareASoftHalo) {
    renderAt(3);
    EXPECT_EQ(scene.glowDraws, 1);
    EXPECT_EQ(scene.draws, 2);
    const int close = brightness(SQUARE_RIGHT + 4, SQUARE_MIDDLE_Y);
    const int farther = brightness(SQUARE_RIGHT + 10, SQUARE_MIDDLE_Y);
    EXPECT_GT(close, 60);
    EXPECT_GT(farther, 0);
    EXPECT_GT(close, farther);  // soft: it fades away from the square
    EXPECT_EQ(brightness(SQUARE_RIGHT + 60, SQUARE_MIDDLE_Y), 0);
    // Above the square too, not only sideways.
    EXPECT_GT(brightness(100, int(0.6 * HEIGHT) + 4), 0);
}

TEST_F(GlowFrameTest, HighDetailsDrawsOnceWithoutHalo) {
    renderAt(2);
    EXPECT_EQ(scene.glowDraws, 0);
    EXPECT_EQ(scene.draws, 1);
    EXPECT_EQ(brightness(SQUARE_RIGHT + 4, SQUARE_MIDDLE_Y), 0);
    EXPECT_EQ(brightest(SQUARE_RIGHT + 2, 100, SQUARE_RIGHT + 40, 280), 0);
    EXPECT_GT(brightness(100, SQUARE_MIDDLE_Y), 700);  // the square itself
}

TEST_F(GlowFrameTest, TextNeverGlows) {
    renderAt(2);
    std::vector<unsigned char> plain = frame;
    renderAt(3);
    // Around and inside the text the picture is the same with or without
    // the effect: nothing of the text reached the glow image.
    const int left = int(0.5 * WIDTH), right = WIDTH - 8;
    const int bottom = int(0.45 * HEIGHT), top = int(0.62 * HEIGHT);
    int differing = 0;
    for (int y = bottom; y < top; ++y)
        for (int x = left; x < right; ++x) {
            size_t i = size_t(y * WIDTH + x) * 3;
            differing += frame[i] != plain[i] || frame[i + 1] != plain[i + 1] || frame[i + 2] != plain[i + 2];
        }
    EXPECT_EQ(differing, 0);
    // The text itself is there.
    long lit = 0;
    for (int y = bottom; y < top; ++y)
        for (int x = left; x < right; ++x) lit += brightness(x, y) > 300;
    EXPECT_GT(lit, 50);
}

// Bloom is how many times the glow image is added: 0 makes the image but
// adds nothing, more layers glow brighter.
TEST_F(GlowFrameTest, BloomScalesTheHalo) {
    renderAt(3, 0);
    EXPECT_EQ(scene.glowDraws, 1);
    EXPECT_EQ(brightness(SQUARE_RIGHT + 4, SQUARE_MIDDLE_Y), 0);
    renderAt(3, 1);
    const int one = brightness(SQUARE_RIGHT + 8, SQUARE_MIDDLE_Y);
    renderAt(3, 3);
    const int three = brightness(SQUARE_RIGHT + 8, SQUARE_MIDDLE_Y);
    EXPECT_GT(one, 0);
    EXPECT_GT(three, one);
}

// What a state's draw finds when renderFrame calls it, pass by pass.
struct DrawSetting {
    bool glowPass;
    int screenWidth, screenHeight;
    GLint viewport[4];
    GLint framebuffer, drawBuffer;
    bool blending;
    GLint blendSource, blendDestination;
    GLfloat colour[4];
    GLfloat modelView[16];
};

class SettingRecorder : public Gamestate {
public:
    void enter() override {}
    int handleEvent(SDL_Event, SDL_Keysym) override { return 0; }
    void update(int) override {}
    void draw() override {
        DrawSetting seen{};
        seen.glowPass = glowPass;
        seen.screenWidth = screenWidth;
        seen.screenHeight = screenHeight;
        glGetIntegerv(GL_VIEWPORT, seen.viewport);
        glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &seen.framebuffer);
        glGetIntegerv(GL_DRAW_BUFFER, &seen.drawBuffer);
        seen.blending = glIsEnabled(GL_BLEND);
        glGetIntegerv(GL_BLEND_SRC, &seen.blendSource);
        glGetIntegerv(GL_BLEND_DST, &seen.blendDestination);
        glGetFloatv(GL_CURRENT_COLOR, seen.colour);
        glGetFloatv(GL_MODELVIEW_MATRIX, seen.modelView);
        passes.push_back(seen);
        // Leaves behind what a careless state might: the frame must not care.
        glColor3f(0.1f, 0.2f, 0.3f);
        glTranslatef(5, 6, 7);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    std::vector<DrawSetting> passes;
};

void expectFreshPass(const DrawSetting& pass, const char* name) {
    for (int i = 0; i < 4; ++i) EXPECT_EQ(pass.colour[i], 1.0f) << name << " colour " << i;
    for (int i = 0; i < 16; ++i) EXPECT_EQ(pass.modelView[i], i % 5 == 0 ? 1.0f : 0.0f) << name << " matrix " << i;
}

TEST_F(GlowFrameTest, EachPassStartsFromItsOwnSetting) {
    SettingRecorder recorder;
    currentState = &recorder;
    settings.details = 3;
    settings.bloom = 2;
    for (int frame = 0; frame < 2; ++frame) renderFrame();  // the second sees what the first left
    ASSERT_EQ(recorder.passes.size(), 4u);
    const DrawSetting& glow = recorder.passes[2];
    const DrawSetting& normal = recorder.passes[3];

    EXPECT_TRUE(glow.glowPass);
    EXPECT_EQ(glow.screenWidth, 256);
    EXPECT_EQ(glow.screenHeight, 256);
    EXPECT_EQ(glow.viewport[2], 256);
    EXPECT_EQ(glow.viewport[3], 256);
    EXPECT_EQ(glow.framebuffer, GLint(glowResources.framebuffer));
    EXPECT_EQ(glow.drawBuffer, GL_COLOR_ATTACHMENT0_EXT);
    EXPECT_FALSE(glow.blending);  // the last composite switched it off
    EXPECT_EQ(glow.blendSource, GL_ONE);  // additive unless the state says otherwise
    EXPECT_EQ(glow.blendDestination, GL_ONE);
    expectFreshPass(glow, "glow pass");

    EXPECT_FALSE(normal.glowPass);
    EXPECT_EQ(normal.screenWidth, WIDTH);
    EXPECT_EQ(normal.screenHeight, HEIGHT);
    EXPECT_EQ(normal.viewport[0], 0);
    EXPECT_EQ(normal.viewport[1], 0);
    EXPECT_EQ(normal.viewport[2], WIDTH);
    EXPECT_EQ(normal.viewport[3], HEIGHT);
    EXPECT_EQ(normal.framebuffer, 0);
    EXPECT_FALSE(normal.blending);
    expectFreshPass(normal, "normal pass");

    // After the composite.
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    GLint framebuffer = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &framebuffer);
    EXPECT_EQ(framebuffer, 0);
    EXPECT_EQ(screenWidth, WIDTH);
    EXPECT_EQ(screenHeight, HEIGHT);
}

TEST_F(GlowFrameTest, WithoutUltraOnlyTheNormalPassRuns) {
    SettingRecorder recorder;
    currentState = &recorder;
    settings.details = 2;
    for (int frame = 0; frame < 2; ++frame) renderFrame();
    ASSERT_EQ(recorder.passes.size(), 2u);
    EXPECT_FALSE(recorder.passes[1].glowPass);
    EXPECT_FALSE(recorder.passes[1].blending);
    EXPECT_EQ(recorder.passes[1].blendSource, GL_ONE);
    EXPECT_EQ(recorder.passes[1].blendDestination, GL_ONE);
    expectFreshPass(recorder.passes[1], "normal pass");
}

TEST_F(GlowFrameTest, CyanHaloStaysCyanAfterYellowText) {
    GlowScene coloured(true);
    currentState = &coloured;
    renderAt(3, 1);
    glDisable(GL_COLOR_MATERIAL);
    int halos = 0;
    for (int offset = 2; offset <= 10; offset += 2) {
        const unsigned char* p = &frame[size_t(SQUARE_MIDDLE_Y * WIDTH + SQUARE_RIGHT + offset) * 3];
        if (p[1] == 0) continue;
        ++halos;
        EXPECT_EQ(p[0], 0) << "red in the halo " << offset << " px right of the square";
        EXPECT_NEAR(p[2], p[1], 2) << "blue against green " << offset << " px right of the square";
    }
    EXPECT_GE(halos, 3);
    // The composite leaves the frame's usual state behind.
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
}

// The composite adds the glow layer by layer over the whole window, or in
// one pass through the composite program, or only over the tiles of the
// glow image that hold light: every form gives the same pixels (8-bit sums
// saturate either way; black adds nothing).
TEST_F(GlowFrameTest, EveryFormOfTheCompositeGivesTheSamePicture) {
    ASSERT_NE(glowResources.composite.program, 0u) << "the composite program did not link";
    GlowScene coloured(true);  // cyan halo over black, partly saturated
    for (Gamestate* state : {static_cast<Gamestate*>(&scene), static_cast<Gamestate*>(&coloured)})
        for (int bloom : {1, 2, 3, 5}) {
            currentState = state;
            setSinglePassComposite(false);
            setLitTilesOnly(false);
            renderAt(3, bloom);
            const std::vector<unsigned char> layered = frame;
            for (const bool onePass : {false, true})
                for (const bool litTiles : {false, true}) {
                    if (!onePass && !litTiles) continue;
                    setSinglePassComposite(onePass);
                    setLitTilesOnly(litTiles);
                    renderAt(3, bloom);
                    int differing = 0, halo = 0;
                    for (size_t i = 0; i < frame.size(); ++i) {
                        differing += frame[i] != layered[i];
                        halo += frame[i] > 0 && frame[i] < 255;
                    }
                    EXPECT_EQ(differing, 0) << "Bloom " << bloom << (onePass ? ", one pass" : ", layer by layer")
                                            << (litTiles ? ", lit tiles" : ", whole window");
                    EXPECT_GT(halo, 1000) << "Bloom " << bloom;  // the soft part of the glow is compared too
                }
        }
    setSinglePassComposite(true);
    setLitTilesOnly(true);
    glDisable(GL_COLOR_MATERIAL);
}

// A split-screen viewport of the lower half: a white square left of the
// middle, seen through the split projection the race sets in its draw.
class SplitScene : public Gamestate {
public:
    void enter() override {}
    int handleEvent(SDL_Event, SDL_Keysym) override { return 0; }
    void update(int) override {}
    void draw() override {
        setViewAngle(viewer, BASE_VIEW_ANGLE, true, ViewVariant::Split);
        GLdouble projection[16];
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        (glowPass ? glowAspect : normalAspect) = projection[5] / projection[0];
        glLoadIdentity();
        setSplitViewport(SPLIT_PLAYER_A);
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        glColor3f(1, 1, 1);
        glBegin(GL_QUADS);
        glVertex3i(-480, -60, -1000);
        glVertex3i(-360, -60, -1000);
        glVertex3i(-360, 60, -1000);
        glVertex3i(-480, 60, -1000);
        glEnd();
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_LIGHTING);
        setWholeViewport();
    }
    Craft viewer;
    double glowAspect = 0, normalAspect = 0;
};

TEST_F(GlowFrameTest, SplitScreenGlowKeepsTheWindowsProportions) {
    SplitScene split;
    currentState = &split;
    const int row = HEIGHT / 4;  // middle of the lower half
    renderAt(2);
    int left = -1, right = -1;
    for (int x = 0; x < WIDTH; ++x)
        if (brightness(x, row) > 700) {
            if (left < 0) left = x;
            right = x;
        }
    ASSERT_GT(left, 0);
    ASSERT_LT(right, WIDTH / 2);

    renderAt(3, 1);
    EXPECT_NEAR(split.glowAspect, double(WIDTH) / double(HEIGHT / 2), 1e-6);
    EXPECT_NEAR(split.normalAspect, split.glowAspect, 1e-6);
    // The halo lies around the square: as bright on its right as on its left.
    const int leftHalo = brightness(left - 5, row);
    const int rightHalo = brightness(right + 5, row);
    EXPECT_GT(leftHalo, 0);
    EXPECT_GT(rightHalo, 0);
    EXPECT_LT(std::abs(leftHalo - rightHalo), std::max(leftHalo, rightHalo) / 3 + 6);
}

}  // namespace
