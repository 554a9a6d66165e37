#include <gtest/gtest.h>

#include <GL/gl.h>

#include <vector>

#include "core/globals.h"
#include "render/screen_pieces.h"
#include "render/text.h"
#include "render/textures.h"
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

// A texture of cols x rows cells of 4 x 4 texels, each cell its own colour
// (red from the column, green from the row), sampled without filtering and
// repeating: a probe in the middle of a drawn quad tells which cell it shows.
// Texel row 0 is the top of the image (t = 0), as the game uploads images.
constexpr int CELL_TEXELS = 4;
GLuint cellPatternTexture(int cols, int rows) {
    const int width = cols * CELL_TEXELS, height = rows * CELL_TEXELS;
    std::vector<unsigned char> rgba(size_t(width) * size_t(height) * 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            unsigned char* p = &rgba[(size_t(y) * size_t(width) + size_t(x)) * 4];
            p[0] = (unsigned char)(16 * (x / CELL_TEXELS) + 8);
            p[1] = (unsigned char)(32 * (y / CELL_TEXELS) + 16);
            p[2] = 255;
            p[3] = 255;
        }
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    return id;
}

struct Cell {
    int column, row;
};

// Which cell of a cellPatternTexture a pixel shows.
Cell cellAt(const GlContext& gl, int x, int y) {
    const GlContext::Pixel p = gl.pixel(x, y);
    return {p.r / 16, p.g / 32};
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

TEST_F(TextAndPanels, GlyphShowsItsCellOfTheFontGrid) {
    const GLuint saved = fontTexture;
    fontTexture = cellPatternTexture(16, 8);
    struct Case {
        const char* text;
        Cell cell;
    } cases[] = {
        {" ", {0, 0}},    // code 32: the first cell
        {"A", {1, 2}},    // 65 - 32 = 33
        {"~", {14, 5}},   // 126 - 32 = 94: the last cell the game draws
        // Tab, 9 - 32 = -23: column -7 and row -1 (truncating toward zero)
        // repeat to column 9 of row 7.
        {"\t", {9, 7}},
        // A code above 127 is a negative byte: -23 - 32 = -55 gives column
        // -7 and row -3, shown as column 9 of row 5.
        {"\xe9", {9, 5}},
    };
    for (const Case& c : cases) {
        gl->beginFrame();
        drawText(100, 400, 1.0f, 1, 1, 1, c.text);
        const Cell shown = cellAt(*gl, 109, 390);  // the middle of the 19 x 19 glyph
        EXPECT_EQ(shown.column, c.cell.column) << int((unsigned char)c.text[0]);
        EXPECT_EQ(shown.row, c.cell.row) << int((unsigned char)c.text[0]);
    }
    glDeleteTextures(1, &fontTexture);
    fontTexture = saved;
}

TEST_F(TextAndPanels, PowerupIconShowsItsCellOfTheIconGrid) {
    glDeleteTextures(1, &textureTable[TEX_POWERUPS][0]);
    textureTable[TEX_POWERUPS].assign(1, cellPatternTexture(4, 2));
    for (int icon = 0; icon < 8; ++icon) {
        gl->beginFrame();
        drawPowerupIcon(500, 600, icon);
        const Cell shown = cellAt(*gl, 520, 572);  // the middle of the 40 x 57 icon
        EXPECT_EQ(shown.column, icon % 4) << icon;
        EXPECT_EQ(shown.row, icon / 4) << icon;
    }
}

TEST_F(TextAndPanels, PanelCornersMirrorTheCornerPieceOutward) {
    // A frame image of 100 columns: texel column c (0..99) shows red
    // 2c + 8, so a probe tells which u a pixel sampled.
    glDeleteTextures(1, &textureTable[TEX_GUI][0]);
    std::vector<unsigned char> rgba(100 * 4);
    for (int c = 0; c < 100; ++c) {
        rgba[size_t(c) * 4 + 0] = (unsigned char)(2 * c + 8);
        rgba[size_t(c) * 4 + 1] = rgba[size_t(c) * 4 + 2] = rgba[size_t(c) * 4 + 3] = 255;
    }
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 100, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    textureTable[TEX_GUI].assign(1, id);
    drawPanel(100, 500, 300, 200, 1, 1, 1);
    auto column = [&](int x, int y) { return (gl->pixel(x, y).r - 8) / 2; };
    // Left corners: u 0 at the outer edge to 0.25 at the inner edge.
    EXPECT_LE(column(100, 499), 3);
    EXPECT_GE(column(115, 499), 21);
    EXPECT_LE(column(100, 300), 3);
    // Right corners: u -0.75 inside to -1 outside, the same piece mirrored.
    EXPECT_GE(column(384, 499), 21);
    EXPECT_LE(column(399, 499), 3);
    EXPECT_LE(column(399, 300), 3);
    // Top border from the horizontal strip, side borders from the vertical one.
    EXPECT_GE(column(250, 499), 51);
    EXPECT_LE(column(250, 499), 74);
    EXPECT_GE(column(100, 400), 25);
    EXPECT_LE(column(100, 400), 34);
    EXPECT_GE(column(399, 400), 25);
    EXPECT_LE(column(399, 400), 34);
    // The side strips face the same way: u 0.25 at the outer edge.
    EXPECT_LT(column(100, 400), column(106, 400));
    EXPECT_LT(column(399, 400), column(393, 400));
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

// The shared scroll arrows draw at the place and in the colours they are
// given: the map list's blue pair, and a yellow pair elsewhere for another list.
TEST_F(TextAndPanels, ScrollArrowsUseTheirPlaceAndColours) {
    drawScrollArrows(true, false);  // the map list's: up lit, down dark
    const auto up = gl->pixel(pixelX(0.924), pixelY(0.72));
    const auto down = gl->pixel(pixelX(0.924), pixelY(0.32));
    EXPECT_GT(up.b, 200);
    EXPECT_LT(up.r, 80);
    EXPECT_LT(down.b, 80);
    EXPECT_GT(down.b, 20);  // dark grey, not missing

    gl->beginFrame();
    ScrollArrows yellow = listScrollArrowsLit(SCREEN_YELLOW);
    yellow.left = 0.1;
    yellow.right = 0.12;
    drawScrollArrows(false, true, yellow);
    const auto lower = gl->pixel(pixelX(0.11), pixelY(0.32));
    EXPECT_GT(lower.r, 200);
    EXPECT_GT(lower.g, 200);
    EXPECT_LT(lower.b, 40);
    EXPECT_EQ(gl->brightness(pixelX(0.918), 0, pixelX(0.93), gl->height()), 0);  // nothing at the old place
}

TEST_F(TextAndPanels, ListPanelOutlinesItsBoxAndSpacesItsRows) {
    drawListPanel(MAP_LIST_PANEL);
    const Box box = litBox(*gl);
    EXPECT_EQ(box.left, pixelX(0.029));
    EXPECT_EQ(box.top, pixelY(0.82) - 1);
    EXPECT_EQ(box.right, pixelX(0.029) + pixelX(0.941) - 1);
    EXPECT_DOUBLE_EQ(listRowY(MAP_LIST_PANEL, 0), 0.716);
    EXPECT_DOUBLE_EQ(listRowY(MAP_LIST_PANEL, 2), 0.716 - 2 * 0.039);
}
