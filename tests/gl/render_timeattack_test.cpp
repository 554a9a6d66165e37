#include <gtest/gtest.h>

#include <SDL2/SDL.h>
#include <GL/gl.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <vector>

#include "app/render_frame.h"
#include "core/gamestate.h"
#include "core/globals.h"
#include "core/settings.h"
#include "render/screen_pieces.h"
#include "modes/timeattack/time_attack.h"
#include "render/camera.h"
#include "render/glow.h"
#include "render/objects.h"
#include "render/text.h"
#include "render/track.h"
#include "support/gl_context.h"
#include "support/glow_setup.h"
#include "support/scene_blocks.h"

namespace {

// Three lanes with every block type (HURT and ICE get halos), steps, slabs
// over the middle lane that cast shadows onto it, and gaps where the sky
// shows between and beyond the blocks.
Level laneLevel() {
    Level level;
    for (int row = 0; row < 40; ++row) {
        const int z = row * 2400;
        for (int lane = 0; lane < 3; ++lane)
            level.blocks.push_back(makeBlock(2500 - lane * 1700, ((row / 5) % 3) * 150 - 300, z, 1500,
                                             500 + ((row + lane) % 3) * 200, 1800,
                                             (row * 3 + lane) % BLOCK_TYPE_COUNT));
        if (row % 4 == 1) level.blocks.push_back(makeBlock(900, 1200, z + 300, 1800, 300, 1200));
    }
    return level;
}

// The time-attack frame with the backdrop drawn first, before the track,
// and everything else in the state's order: the picture the state keeps.
class BackdropFirstFrame : public Gamestate {
public:
    explicit BackdropFirstFrame(TimeAttack& state) : state_(state) {}
    void enter() override {}
    int handleEvent(SDL_Event, SDL_Keysym) override { return 0; }
    void update(int) override {}
    void draw() override {
        Craft& craft = state_.run.craft;
        applyCamera(craft);
        drawBackdrop(BACKDROP_SLOTS[state_.backgroundIndex], false);
        drawTrack(state_.run.level, craft.z);
        drawCraftRecord(craft);
        if (settings.glow) drawHalos(state_.run.level, craft.z, HALO_TIME_ATTACK);
        if (settings.shadows && !glowPass) {
            const Craft* casters[] = {&craft};
            drawShadows(state_.run.level, casters, 1, craft.z);
        }
        drawCraftTrail(craft);
        drawJumpEffect(craft);
        const char* const parts[] = {" 0:", " 0:", " 0"};
        const double columns[] = {0.78, 0.84, 0.90};
        for (int i = 0; i < 3; ++i) drawText(pixelX(columns[i]), pixelY(0.06), 1.0f, 0.9f, 0.9f, 0.9f, parts[i]);
    }

private:
    TimeAttack& state_;
};

// Only the backdrop: what the window shows where no block is.
class BackdropOnlyFrame : public Gamestate {
public:
    explicit BackdropOnlyFrame(int slot) : slot_(slot) {}
    void enter() override {}
    int handleEvent(SDL_Event, SDL_Keysym) override { return 0; }
    void update(int) override {}
    void draw() override { drawBackdrop(slot_, false); }

private:
    int slot_;
};

class TimeAttackPicture : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        GlContext& gl = sharedGlContext();
        if (!gl.ok()) return;
        createTestTextures();
        glowReady = startGlowEffect(256, 256);
    }
    static void TearDownTestSuite() {
        releaseGlow();
        shadersActive = false;
    }

    void SetUp() override {
        gl = &sharedGlContext();
        ASSERT_TRUE(gl->ok()) << gl->error();
        saved = settings;
        savedState = currentState;
        settings.details = 2;
        settings.shadows = 1;
        settings.glow = 1;
        settings.speed = 1;
        settings.drawDist = 200000;
        settings.shadowDist = 50000;
        settings.bloom = 3;
        settings.animDivisor = 1;
        glowPass = false;
        state.run.level = laneLevel();
        state.backgroundIndex = 2;
        Craft& craft = state.run.craft;
        craft = Craft();
        craft.x = 900;
        craft.ypos = 450;
        craft.z = 3000;
        craft.prevX = craft.x;
        craft.prevY = craft.ypos;
        craft.prevZ = craft.z - 150;
        craft.health = 60;  // damage smoke
        craft.f_speed = 120;
        // Smoke puffs and the jump puff that never expire, so both frames
        // show the same ones (fresh puffs take random places).
        for (int i = 0; i < CRAFT_EFFECT_COUNT; ++i) {
            EffectSprite& puff = craft.effects[size_t(i)];
            puff.endTick = UINT32_MAX;
            puff.x = craft.x + 60 * i - 200;
            puff.y = craft.ypos + 100;
            puff.z = craft.z - 120;
            puff.tile = i % 4;
            puff.red = puff.green = puff.blue = 0.5f;
            puff.scaleX = puff.scaleY = 1.3f;
        }
        // As the play state's update does: the projection is the window's
        // in the glow pass too.
        placeCameraAtStart(craft, ViewVariant::TimeAttack);
    }
    void TearDown() override {
        if (wireframe) setWireframe(false);
        currentState = savedState;
        settings = saved;
    }

    // One whole frame of `drawn` through renderFrame, read back.
    std::vector<unsigned char> render(Gamestate& drawn) {
        currentState = &drawn;
        renderFrame();
        glFinish();
        std::vector<unsigned char> pixels(size_t(gl->width()) * size_t(gl->height()) * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, gl->width(), gl->height(), GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }

    static size_t differingPixels(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
        size_t differing = 0;
        for (size_t i = 0; i < a.size(); i += 3)
            differing += a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2];
        return differing;
    }

    // The state's frame against the backdrop-first frame: every pixel the
    // same, and a picture with both sky and track in it.
    void expectSamePicture() {
        BackdropFirstFrame before(state);
        BackdropOnlyFrame sky(BACKDROP_SLOTS[state.backgroundIndex]);
        // The first frame compiles the block bodies, whose compiled form may
        // round an edge pixel differently: compare later frames only.
        render(before);
        const std::vector<unsigned char> expected = render(before);
        const std::vector<unsigned char> actual = render(state);
        const std::vector<unsigned char> skyOnly = render(sky);
        EXPECT_EQ(differingPixels(expected, actual), 0u);
        const size_t all = expected.size() / 3;
        const size_t covered = differingPixels(expected, skyOnly);
        EXPECT_GT(covered, all / 10);  // the track is in the picture
        EXPECT_LT(covered, all * 9 / 10);  // and so is the sky
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }

    static bool glowReady;
    GlContext* gl = nullptr;
    TimeAttack state;
    Settings saved;
    Gamestate* savedState = nullptr;
};

bool TimeAttackPicture::glowReady = false;

TEST_F(TimeAttackPicture, HighDetailsWithShadowsIsUnchanged) { expectSamePicture(); }

TEST_F(TimeAttackPicture, EveryDetailLevelWithoutShadowsIsUnchanged) {
    settings.shadows = 0;
    for (int details = 0; details <= 2; ++details) {
        SCOPED_TRACE("details " + std::to_string(details));
        settings.details = details;
        expectSamePicture();
    }
}

TEST_F(TimeAttackPicture, UltraWithTheGlowPassIsUnchanged) {
    ASSERT_TRUE(glowReady) << "glow effect did not start (run from the runtime directory)";
    settings.details = 3;
    ASSERT_TRUE(glowFrameEnabled());
    expectSamePicture();
}

// The glow pass draws its blocks chamfered, every body before every top.
// Its image is 256 x 256 and blurred, so the finished frame may differ from
// a glow pass drawn as the normal pass only a little: at most 64 levels in any channel of any pixel, more than 8
// levels in fewer than 1 % of them, 0.5 levels on average; and wherever the
// full glow pass brightens a pixel by 40 levels or more, the cheap one
// brightens it by at least half as much (the halos stay in place).
TEST_F(TimeAttackPicture, CheapGlowPassKeepsTheGlowWithinTolerance) {
    ASSERT_TRUE(glowReady) << "glow effect did not start (run from the runtime directory)";
    settings.details = 2;
    render(state);
    const std::vector<unsigned char> unlit = render(state);
    settings.details = 3;
    setCheapGlowPass(false);
    render(state);
    const std::vector<unsigned char> rounded = render(state);  // as the normal pass
    setCheapGlowPass(true);
    const std::vector<unsigned char> chamfered = render(state);  // cheap

    int most = 0;
    size_t overEight = 0, glowing = 0, keptGlowing = 0;
    long total = 0;
    for (size_t i = 0; i < rounded.size(); ++i) {
        const int difference = std::abs(int(rounded[i]) - int(chamfered[i]));
        most = std::max(most, difference);
        overEight += difference > 8;
        total += difference;
        const int roundedGlow = int(rounded[i]) - int(unlit[i]);
        if (roundedGlow >= 40) {
            ++glowing;
            keptGlowing += 2 * (int(chamfered[i]) - int(unlit[i])) >= roundedGlow;
        }
    }
    EXPECT_LE(most, 64);
    EXPECT_LT(overEight, rounded.size() / 100);
    EXPECT_LT(double(total) / double(rounded.size()), 0.5);
    EXPECT_GT(glowing, rounded.size() / 20);  // the scene glows: the check means something
    EXPECT_EQ(keptGlowing, glowing);
    // The normal pass is untouched: without the glow the frames agree.
    settings.details = 2;
    EXPECT_EQ(differingPixels(render(state), unlit), 0u);
}

TEST_F(TimeAttackPicture, WireframeIsUnchanged) {
    setWireframe(true);
    expectSamePicture();
}

TEST_F(TimeAttackPicture, UpsideDownViewIsUnchanged) {
    // A CRAZY block turns the picture over; the eye keeps its place.
    state.run.craft.camUp[1] = -1;
    expectSamePicture();
}

TEST_F(TimeAttackPicture, BlocksAtTheFarPlaneAreUnchanged) {
    // A long draw distance reaches the far plane: walls at the very end of
    // the depth range must still show in front of the sky.
    settings.drawDist = 600000;
    for (int step = 0; step < 12; ++step) {
        const int distance = 396000 + step * 400;  // from the eye, 6000 behind the craft
        state.run.level.blocks.push_back(
            makeBlock(60000 - step * 10000, -20000 + step * 3000, state.run.craft.z - 6000 + distance, 9000, 30000, 2000));
    }
    expectSamePicture();
}

}  // namespace
