#include <gtest/gtest.h>

#include <GL/gl.h>

#include <vector>

#include "core/globals.h"
#include "core/textures.h"
#include "render/text.h"
#include "support/gl_context.h"

namespace {

GLuint solidWhiteTexture() {
    std::vector<unsigned char> white(8 * 8 * 4, 255);
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 8, 8, 0, GL_RGBA, GL_UNSIGNED_BYTE, white.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    return id;
}

// Bounding box of the lit pixels of the whole window.
struct Box {
    int left = 1 << 30, bottom = 1 << 30, right = -1, top = -1;
    int lit = 0;
};

Box litBox(const GlContext& gl) {
    std::vector<unsigned char> rgba(size_t(gl.width()) * size_t(gl.height()) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, gl.width(), gl.height(), GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    Box box;
    for (int y = 0; y < gl.height(); ++y)
        for (int x = 0; x < gl.width(); ++x) {
            const unsigned char* p = &rgba[(size_t(y) * size_t(gl.width()) + size_t(x)) * 4];
            if (p[0] + p[1] + p[2] < 30) continue;
            ++box.lit;
            box.left = std::min(box.left, x);
            box.right = std::max(box.right, x);
            box.bottom = std::min(box.bottom, y);
            box.top = std::max(box.top, y);
        }
    return box;
}

class TextAndPanels : public ::testing::Test {
protected:
    void SetUp() override {
        gl = &sharedGlContext();
        ASSERT_TRUE(gl->ok()) << gl->error();
        createTestTextures();
        // Uniform white font and frame images: every glyph and frame piece
        // then covers exactly its quad.
        textureTable[TEX_GUI].assign(1, solidWhiteTexture());
        textureTable[TEX_POWERUPS].assign(1, solidWhiteTexture());
        glowPass = false;
        wireframe = false;
        gl->beginFrame();
    }
    void TearDown() override { glowPass = false; }

    GlContext* gl = nullptr;
};

TEST_F(TextAndPanels, GlyphOfScaleOneCovers19By19PixelsAt1024By768) {
    drawText(100, 400, 1.0f, 1, 1, 1, "A");
    const Box box = litBox(*gl);
    EXPECT_EQ(box.left, 100);
    EXPECT_EQ(box.right, 118);
    EXPECT_EQ(box.top, 399);  // glyphs hang below y
    EXPECT_EQ(box.bottom, 381);
    EXPECT_EQ(box.lit, 19 * 19);
}

TEST_F(TextAndPanels, AdvanceIs14Point95PixelsWithoutAccumulatedRounding) {
    // 21 glyphs: the last starts at 100 + 20 * 14.9504 = 399.008 and ends
    // 19 px later; a whole-pixel advance of 15 or 14 would end at 418 or 398.
    drawText(100, 400, 1.0f, 1, 1, 1, "AAAAAAAAAAAAAAAAAAAAA");
    const Box box = litBox(*gl);
    EXPECT_EQ(box.left, 100);
    EXPECT_EQ(box.right, 417);
}

TEST_F(TextAndPanels, ScaleShrinksGlyphAroundItsTopLeftCorner) {
    drawText(200, 300, 0.5f, 1, 1, 1, "A");
    const Box box = litBox(*gl);
    EXPECT_EQ(box.left, 200);
    EXPECT_EQ(box.top, 299);
    EXPECT_NEAR(box.right - box.left + 1, 10, 1);
    EXPECT_NEAR(box.top - box.bottom + 1, 10, 1);
}

TEST_F(TextAndPanels, TextDrawsNothingInTheGlowPass) {
    glowPass = true;
    drawText(100, 400, 1.0f, 1, 1, 1, "Glow never holds text");
    drawWorldText(0, 0, 0, 5000, 1, 1, 1, 1.0f, "12");
    EXPECT_EQ(litBox(*gl).lit, 0);
}

TEST_F(TextAndPanels, TextUsesItsColour) {
    drawText(100, 400, 1.0f, 1, 0, 1, "A");
    const GlContext::Pixel p = gl->pixel(110, 390);
    EXPECT_GT(p.r, 240);
    EXPECT_LT(p.g, 10);
    EXPECT_GT(p.b, 240);
}

TEST_F(TextAndPanels, TextStaysFilledInWireframeMode) {
    wireframe = true;
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glDisable(GL_TEXTURE_2D);
    drawText(100, 400, 1.0f, 1, 1, 1, "A");
    EXPECT_EQ(litBox(*gl).lit, 19 * 19);
    GLint mode[2];
    glGetIntegerv(GL_POLYGON_MODE, mode);
    EXPECT_EQ(mode[0], GL_LINE);  // restored for the scene
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    wireframe = false;
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_TEXTURE_2D);
}

TEST_F(TextAndPanels, PanelBordersLandOnTheirPixels) {
    // left 100, top 500, 300 x 200: corners and top/bottom borders 16 px,
    // side borders 7 px, inside empty.
    drawPanel(100, 500, 300, 200, 1, 1, 1);
    auto lit = [&](int x, int y) { return gl->pixel(x, y).r > 200; };
    EXPECT_TRUE(lit(100, 499));   // top-left corner
    EXPECT_TRUE(lit(399, 499));   // top-right corner
    EXPECT_TRUE(lit(100, 300));   // bottom-left corner
    EXPECT_TRUE(lit(399, 300));   // bottom-right corner
    EXPECT_FALSE(lit(99, 400));   // outside left
    EXPECT_FALSE(lit(400, 400));  // outside right
    EXPECT_FALSE(lit(250, 500));  // above the top
    EXPECT_FALSE(lit(250, 299));  // below the bottom
    // Top border y 484..499, bottom border y 300..315.
    EXPECT_TRUE(lit(250, 484));
    EXPECT_FALSE(lit(250, 483));
    EXPECT_TRUE(lit(250, 315));
    EXPECT_FALSE(lit(250, 316));
    // Left border x 100..106, right border x 393..399.
    EXPECT_TRUE(lit(106, 400));
    EXPECT_FALSE(lit(107, 400));
    EXPECT_TRUE(lit(393, 400));
    EXPECT_FALSE(lit(392, 400));
    EXPECT_FALSE(lit(250, 400));  // the inside shows what lies behind
    const Box box = litBox(*gl);
    EXPECT_EQ(box.lit, 300 * 200 - (300 - 14) * (200 - 32));
}

TEST_F(TextAndPanels, PanelDrawsInTheGlowPass) {
    glowPass = true;
    drawPanel(100, 500, 300, 200, 1, 1, 1);
    EXPECT_GT(litBox(*gl).lit, 0);
}

TEST_F(TextAndPanels, PowerupIconCoversFourHundredthsByThreeFortiethsOfTheWindow) {
    drawPowerupIcon(500, 600, 5);
    const Box box = litBox(*gl);
    EXPECT_EQ(box.left, 500);
    EXPECT_EQ(box.right, 500 + 40 - 1);  // int(0.04 * 1024)
    EXPECT_EQ(box.top, 599);
    EXPECT_EQ(box.bottom, 600 - 57);     // int(0.075 * 768)
}

TEST_F(TextAndPanels, TwoDimensionalRoutinesLeaveMatrixStacksBalanced) {
    drawText(10, 700, 1.0f, 1, 1, 1, "abc");
    drawPanel(20, 600, 200, 100, 0, 0, 1);
    drawPowerupIcon(30, 400, 2);
    drawWorldText(-1000, 0, 0, 5000, 1, 1, 1, 1.0f, "9");
    GLint modelview = 0, projection = 0, mode = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &modelview);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &projection);
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(modelview, 1);
    EXPECT_EQ(projection, 1);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

}  // namespace
