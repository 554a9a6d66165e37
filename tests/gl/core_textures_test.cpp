#include <gtest/gtest.h>

#include <GL/gl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/settings.h"
#include "render/textures.h"
#include "support/gl_context.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

namespace {

using Colour = std::array<unsigned char, 4>;

// Each test builds its own gfx/ tree in a fresh folder and works from there,
// as the game works from its own folder.
class TextureLoading : public ::testing::Test {
protected:
    // The size every other GL test uses, so no test finds the window resized.
    static void SetUpTestSuite() { context = new GlContext(1024, 768); }

    void SetUp() override {
        ASSERT_TRUE(context->ok()) << context->error();
        char pattern[] = "/tmp/tavrelo-gfx-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        char previous[4096];
        ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
        previousFolder = previous;
        ASSERT_EQ(chdir(folder.c_str()), 0);
        savedSettings = settings;
        settings.style = 0;
        settings.mipmaps = 0;
        settings.animDivisor = 10;
        mkdir("gfx", 0755);
    }
    void TearDown() override {
        settings = savedSettings;
        chdir(previousFolder.c_str());
        std::system(("rm -rf '" + folder + "'").c_str());
        createTestTextures();  // leave the stand-in textures other tests draw with
    }

    static void writePng(const std::string& path, Colour colour, int size = 4, int channels = 4) {
        std::vector<unsigned char> pixels;
        for (int i = 0; i < size * size; ++i) pixels.insert(pixels.end(), colour.begin(), colour.begin() + channels);
        ASSERT_TRUE(stbi_write_png(path.c_str(), size, size, channels, pixels.data(), size * channels)) << path;
    }
    // A complete set: every set slot coloured by its slot number and the
    // set's own red, every root slot by its slot number.
    static void writeSet(const std::string& set, unsigned char red) {
        mkdir(("gfx/" + set).c_str(), 0755);
        for (int slot = 0; slot < TEXTURE_SLOT_COUNT; ++slot) {
            const TextureSlotInfo& info = TEXTURE_SLOTS[slot];
            if (info.inSet) writePng("gfx/" + set + "/" + info.name + ".png", slotColour(slot, red));
        }
    }
    static void writeRootSlots() {
        for (int slot = 0; slot < TEXTURE_SLOT_COUNT; ++slot) {
            const TextureSlotInfo& info = TEXTURE_SLOTS[slot];
            if (!info.inSet) writePng(std::string("gfx/") + info.name + ".png", slotColour(slot, 7));
        }
    }
    static Colour slotColour(int slot, unsigned char red) { return {red, (unsigned char)(slot * 6), 33, 255}; }

    static Colour texel(GLuint texture) {
        glBindTexture(GL_TEXTURE_2D, texture);
        GLint width = 0, height = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        std::vector<unsigned char> pixels(size_t(width) * size_t(height) * 4 + 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return {pixels[0], pixels[1], pixels[2], pixels[3]};
    }

    static GlContext* context;
    std::string folder, previousFolder;
    Settings savedSettings;
};

GlContext* TextureLoading::context = nullptr;

TEST_F(TextureLoading, EverySlotComesFromItsPlace) {
    writeSet("alpha", 100);
    writeRootSlots();
    ASSERT_EQ(loadTextures(), 0);
    for (int slot = 0; slot < TEXTURE_SLOT_COUNT; ++slot) {
        EXPECT_EQ(frameCounts[slot], 0) << TEXTURE_SLOTS[slot].name;
        const GLuint texture = textureFrame(slot, 0);  // uploads a backdrop picture on demand
        ASSERT_EQ(textureTable[slot].size(), 1u) << TEXTURE_SLOTS[slot].name;
        const unsigned char red = TEXTURE_SLOTS[slot].inSet ? 100 : 7;
        EXPECT_EQ(texel(texture), slotColour(slot, red)) << TEXTURE_SLOTS[slot].name;
    }
    EXPECT_EQ(textureFrame(TEX_GUI, 12345), textureTable[TEX_GUI][0]);
}

TEST_F(TextureLoading, NumberedFramesAnimateInOrder) {
    writeSet("alpha", 100);
    writeRootSlots();
    std::remove("gfx/alpha/tex3.png");
    const Colour frames[3] = {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}};
    for (int n = 0; n < 3; ++n) writePng("gfx/alpha/tex30" + std::to_string(n) + ".png", frames[n]);
    writePng("gfx/alpha/tex304.png", {9, 9, 9, 255});  // after the gap: not a frame
    ASSERT_EQ(loadTextures(), 0);
    EXPECT_EQ(frameCounts[3], 3);
    ASSERT_EQ(textureTable[3].size(), 3u);
    for (int n = 0; n < 3; ++n) EXPECT_EQ(texel(textureTable[3][n]), frames[n]) << "frame " << n;

    settings.animDivisor = 10;
    EXPECT_EQ(textureFrame(3, 0), textureTable[3][0]);
    EXPECT_EQ(textureFrame(3, 19), textureTable[3][1]);
    EXPECT_EQ(textureFrame(3, 25), textureTable[3][2]);
    EXPECT_EQ(textureFrame(3, 30), textureTable[3][0]);
}

TEST_F(TextureLoading, TenOrMoreFramesUseTwoDigits) {
    writeSet("alpha", 100);
    writeRootSlots();
    std::remove("gfx/alpha/checkp.png");
    for (int n = 0; n < 12; ++n) {
        char name[64];
        std::snprintf(name, sizeof name, "gfx/alpha/checkp%02d.png", n);
        writePng(name, {(unsigned char)(n * 20), 1, 2, 255});
    }
    ASSERT_EQ(loadTextures(), 0);
    EXPECT_EQ(frameCounts[TEX_CHECKP], 12);
    EXPECT_EQ(texel(textureTable[TEX_CHECKP][11])[0], 220);
}

TEST_F(TextureLoading, StillSlotGivenOnlyAsFramesFailsAndKeepsTheOldTable) {
    writeSet("alpha", 100);
    writeRootSlots();
    ASSERT_EQ(loadTextures(), 0);
    const std::vector<GLuint> before = textureTable[TEX_MENU00];

    std::remove("gfx/alpha/menu00.png");
    writePng("gfx/alpha/menu0000.png", {1, 2, 3, 255});
    EXPECT_EQ(loadTextures(), -1);
    EXPECT_EQ(textureTable[TEX_MENU00], before);
    EXPECT_TRUE(glIsTexture(before[0]));
}

// The backdrop pictures are the largest textures: each is uploaded when it
// is first drawn, without mipmaps, and dropped after 30 frames unseen;
// loading only checks them.
TEST_F(TextureLoading, BackdropPicturesAreUploadedWhenDrawnAndDroppedWhenIdle) {
    writeSet("alpha", 100);
    writeRootSlots();
    ASSERT_EQ(loadTextures(), 0);
    for (int slot : {TEX_SPACE1, TEX_SPACE2, TEX_SPACE3, TEX_SPACE4, TEX_SPACEMENU})
        EXPECT_TRUE(textureTable[slot].empty()) << TEXTURE_SLOTS[slot].name;
    const GLuint menu = textureFrame(TEX_SPACEMENU, 0);
    ASSERT_NE(menu, 0u);
    // The castle attack draws two pictures every frame: both stay.
    const GLuint space = textureFrame(TEX_SPACE3, 0);
    for (int frame = 0; frame < 40; ++frame) {
        EXPECT_EQ(textureFrame(TEX_SPACE3, 0), space);
        if (frame < 5) {
            EXPECT_EQ(textureFrame(TEX_SPACEMENU, 99), menu);
        }
        dropIdlePictures();
    }
    EXPECT_EQ(texel(space), slotColour(TEX_SPACE3, 7));
    EXPECT_TRUE(textureTable[TEX_SPACEMENU].empty());
    EXPECT_FALSE(glIsTexture(menu)) << "the picture not drawn for 30 frames is dropped";
    GLint levelOneWidth = -1;
    glBindTexture(GL_TEXTURE_2D, space);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &levelOneWidth);
    EXPECT_EQ(levelOneWidth, 0);
    EXPECT_NE(textureFrame(TEX_SPACEMENU, 0), 0u) << "and uploaded again when drawn";

    // A picture that cannot be read fails the load, as any slot does, and
    // the picture in use stays.
    writePng("gfx/space2.png", {1, 2, 3, 255});
    FILE* damaged = std::fopen("gfx/space2.png", "r+b");
    ASSERT_NE(damaged, nullptr);
    std::fseek(damaged, 20, SEEK_SET);
    std::fputs("not a png any more", damaged);
    std::fclose(damaged);
    EXPECT_EQ(loadTextures(), -1);
    EXPECT_EQ(textureFrame(TEX_SPACE3, 0), space);
    std::remove("gfx/space2.png");
    EXPECT_EQ(loadTextures(), -1);
    EXPECT_EQ(textureFrame(TEX_SPACE3, 0), space);
    // Removed after a successful load: drawn untextured rather than tried
    // again on every frame.
    writePng("gfx/space2.png", slotColour(TEX_SPACE2, 7));
    ASSERT_EQ(loadTextures(), 0);
    std::remove("gfx/space2.png");
    EXPECT_EQ(textureFrame(TEX_SPACE2, 0), 0u);
    EXPECT_EQ(textureFrame(TEX_SPACE2, 0), 0u);
    EXPECT_NE(textureFrame(TEX_SPACE1, 0), 0u);
}

// Start-up finds the files and reads a slot when it is first drawn (the
// first menu frame waits only for its own), then every other slot right
// after that frame: the same textures and frames as loading them at once.
TEST_F(TextureLoading, StartUpReadsEachSlotWhenDrawnAndTheRestAfterTheFirstFrame) {
    writeSet("alpha", 100);
    writeRootSlots();
    std::remove("gfx/alpha/tex3.png");
    const Colour frames[3] = {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}};
    for (int n = 0; n < 3; ++n) writePng("gfx/alpha/tex30" + std::to_string(n) + ".png", frames[n]);
    ASSERT_EQ(findTextures(), 0);
    for (int slot = 0; slot < TEXTURE_SLOT_COUNT; ++slot)
        EXPECT_TRUE(textureTable[slot].empty()) << TEXTURE_SLOTS[slot].name << " is read before it is drawn";
    EXPECT_EQ(frameCounts[3], 3);
    EXPECT_EQ(frameCounts[TEX_MENU00], 0);

    const GLuint menu = textureFrame(TEX_MENU00, 0);
    EXPECT_EQ(texel(menu), slotColour(TEX_MENU00, 100));
    EXPECT_TRUE(textureTable[TEX_GUI].empty());

    ASSERT_EQ(loadDeferredTextures(), 0);
    EXPECT_EQ(textureTable[TEX_MENU00], std::vector<GLuint>{menu}) << "a slot drawn already is not read again";
    for (int slot = 0; slot < TEXTURE_SLOT_COUNT; ++slot) {
        if (slot == 3) continue;
        const bool picture = slot == TEX_SPACE1 || slot == TEX_SPACE2 || slot == TEX_SPACE3 || slot == TEX_SPACE4 ||
                             slot == TEX_SPACEMENU;
        // The backdrop pictures keep their own rule: uploaded when drawn.
        EXPECT_EQ(textureTable[slot].size(), picture ? 0u : 1u) << TEXTURE_SLOTS[slot].name;
        const unsigned char red = TEXTURE_SLOTS[slot].inSet ? 100 : 7;
        EXPECT_EQ(texel(textureFrame(slot, 0)), slotColour(slot, red)) << TEXTURE_SLOTS[slot].name;
    }
    ASSERT_EQ(textureTable[3].size(), 3u);
    for (int n = 0; n < 3; ++n) EXPECT_EQ(texel(textureTable[3][n]), frames[n]) << "frame " << n;
    EXPECT_EQ(textureFrame(3, 25), textureTable[3][2]);
}

// A missing file, or a picture whose header is damaged, stops the start-up
// before anything is drawn; a file damaged past its header is found when
// it is read, after the first frame.
TEST_F(TextureLoading, StartUpFailsOnMissingFilesAtOnceAndOnDamagedOnesAfterTheFirstFrame) {
    writeSet("alpha", 100);
    writeRootSlots();
    auto damage = [](const char* path, long offset) {
        FILE* file = std::fopen(path, "r+b");
        ASSERT_NE(file, nullptr);
        std::fseek(file, offset, SEEK_SET);
        std::fputs("not a png any more", file);
        std::fclose(file);
    };
    std::remove("gfx/powerups.png");
    EXPECT_EQ(findTextures(), -1);
    writePng("gfx/powerups.png", slotColour(TEX_POWERUPS, 7));
    damage("gfx/space4.png", 20);
    EXPECT_EQ(findTextures(), -1);
    writePng("gfx/space4.png", slotColour(TEX_SPACE4, 7));

    damage("gfx/gui.png", 40);
    ASSERT_EQ(findTextures(), 0);
    EXPECT_EQ(loadDeferredTextures(), -1);
    EXPECT_TRUE(textureTable[TEX_GUI].empty());
    EXPECT_EQ(texel(textureTable[TEX_POWERUPS][0]), slotColour(TEX_POWERUPS, 7));
}

TEST_F(TextureLoading, MissingRootSlotFails) {
    writeSet("alpha", 100);
    writeRootSlots();
    std::remove("gfx/powerups.png");
    EXPECT_EQ(loadTextures(), -1);
}

TEST_F(TextureLoading, SetsAreSortedAndStyleOutOfRangeTakesTheFirst) {
    writeSet("zeta", 30);
    writeSet("beta", 20);
    writeSet("alpha", 10);
    writeRootSlots();
    writePng("gfx/loose", {0, 0, 0, 255});  // a file, not a folder
    mkdir("gfx/old.backup", 0755);
    mkdir("gfx/averyveryverylongname", 0755);  // too long for a set name

    EXPECT_EQ(listTextureSets(), 3);
    EXPECT_EQ(textureSetNames, (std::vector<std::string>{"alpha", "beta", "zeta"}));

    const int expectedRed[][2] = {{0, 10}, {1, 20}, {2, 30}, {3, 10}, {7, 10}, {-1, 10}};
    for (const auto& [style, red] : expectedRed) {
        settings.style = style;
        ASSERT_EQ(loadTextures(), 0) << "style " << style;
        EXPECT_EQ(texel(textureTable[0][0])[0], red) << "style " << style;
    }
}

TEST_F(TextureLoading, NoSetLooksInAnEmptySetName) {
    writeRootSlots();
    EXPECT_EQ(listTextureSets(), 0);
    EXPECT_EQ(textureSetNames, (std::vector<std::string>{""}));
    EXPECT_EQ(loadTextures(), -1);
}

TEST_F(TextureLoading, MipmapsFollowTheSetting) {
    writeSet("alpha", 100);
    writeRootSlots();
    GLint filter = 0, levelOneWidth = -1;

    settings.mipmaps = 0;
    ASSERT_EQ(loadTextures(), 0);
    glBindTexture(GL_TEXTURE_2D, textureTable[0][0]);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &levelOneWidth);
    EXPECT_EQ(filter, GL_LINEAR);
    EXPECT_EQ(levelOneWidth, 0);

    settings.mipmaps = 1;
    ASSERT_EQ(loadTextures(), 0);
    glBindTexture(GL_TEXTURE_2D, textureTable[0][0]);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &levelOneWidth);
    EXPECT_EQ(filter, GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(levelOneWidth, 2);
    GLfloat bias = 0;
    glGetTexEnvfv(GL_TEXTURE_FILTER_CONTROL, GL_TEXTURE_LOD_BIAS, &bias);
    EXPECT_FLOAT_EQ(bias, -1.5f);
}

TEST_F(TextureLoading, ImagesWithoutAlphaLoadOpaque) {
    writeSet("alpha", 100);
    writeRootSlots();
    writePng("gfx/alpha/tex1.png", {50, 60, 70, 0}, 4, 3);
    ASSERT_EQ(loadTextures(), 0);
    EXPECT_EQ(texel(textureTable[1][0]), (Colour{50, 60, 70, 255}));
}

TEST_F(TextureLoading, TitleAndFontImages) {
    EXPECT_EQ(loadTitleTexture(), -1);
    EXPECT_EQ(loadFontTexture(), -1);
    writePng("gfx/titles.png", {200, 10, 10, 255}, 8);
    writePng("gfx/font1.png", {255, 255, 255, 0}, 16);
    ASSERT_EQ(loadTitleTexture(), 0);
    ASSERT_EQ(loadFontTexture(), 0);
    EXPECT_EQ(texel(titleTexture), (Colour{200, 10, 10, 255}));
    EXPECT_EQ(texel(fontTexture), (Colour{255, 255, 255, 0}));
    GLint filter = 0, levelOneWidth = -1;
    glBindTexture(GL_TEXTURE_2D, fontTexture);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &levelOneWidth);
    EXPECT_EQ(filter, GL_LINEAR);
    EXPECT_EQ(levelOneWidth, 0);  // never mipmapped
}

TEST_F(TextureLoading, CornerTablesHaveRadiusFifty) {
    buildCornerTables();
    EXPECT_NEAR(cornerCircle[0][0], 0, 1e-4);
    EXPECT_NEAR(cornerCircle[0][1], -50, 1e-4);
    EXPECT_NEAR(cornerCircle[2][0], 50 * std::sin(M_PI / 4), 1e-4);
    EXPECT_NEAR(cornerCircle[4][0], 50, 1e-4);
    EXPECT_NEAR(cornerCircle[4][1], 0, 1e-4);
    for (const auto& point : cornerSphere)
        EXPECT_NEAR(std::sqrt(point[0] * point[0] + point[1] * point[1] + point[2] * point[2]), 50, 1e-3);
    EXPECT_NEAR(cornerSphere[0][1], 50 * std::cos(M_PI / 8), 1e-3);  // first ring next to the pole
    EXPECT_NEAR(cornerSphere[15][1], 0, 1e-3);                       // fourth ring on the equator
}

TEST_F(TextureLoading, SpriteTilesShowOneFifthEach) {
    // A 10 x 2 texture of distinct greys, texel (column c, row r) = 10 + 20c + 5r:
    // each fifth is two columns wide.
    std::vector<unsigned char> texels(10 * 2 * 4);
    auto grey = [](int column, int row) { return (unsigned char)(10 + 20 * column + (row ? 5 : 0)); };
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 10; ++column) {
            unsigned char* texel = &texels[size_t(row * 10 + column) * 4];
            texel[0] = texel[1] = texel[2] = grey(column, row);
            texel[3] = 255;
        }
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 10, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    buildSpriteTiles();
    ASSERT_TRUE(glIsList(spriteTileLists + 4));

    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-190, 0, -190, 0, -1, 1);  // exactly the tile's square
    glMatrixMode(GL_MODELVIEW);
    const int w = context->width(), h = context->height();
    for (int tile = 0; tile < 5; ++tile) {
        context->beginFrame();
        glCallList(spriteTileLists + GLuint(tile));
        // Vertex (0, 0) is the window's top-right corner and shows the
        // fifth's first column, top row (v 0); (-190, -190) its last column,
        // bottom row (v 1).
        EXPECT_EQ(context->pixel(w * 3 / 4, h * 3 / 4).r, grey(2 * tile, 0)) << "tile " << tile;
        EXPECT_EQ(context->pixel(w / 4, h * 3 / 4).r, grey(2 * tile + 1, 0)) << "tile " << tile;
        EXPECT_EQ(context->pixel(w * 3 / 4, h / 4).r, grey(2 * tile, 1)) << "tile " << tile;
        EXPECT_EQ(context->pixel(w / 4, h / 4).r, grey(2 * tile + 1, 1)) << "tile " << tile;
    }
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glDeleteTextures(1, &texture);
}

}  // namespace
