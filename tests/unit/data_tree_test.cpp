// The generated data tree: every file the game loads at start-up is there,
// in the form the loaders expect (RGBA PNGs, PCM WAVs), and the images hold
// their pieces where the draw code samples them.

#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Slot {
    const char* name;
    bool inSet;
    bool animatable;
};

// The 39 texture slots in slot order.
const Slot kSlots[] = {
    {"tex0", true, true},    {"tex1", true, true},    {"tex2", true, true},      {"tex3", true, true},
    {"tex4", true, true},    {"tex5", true, true},    {"tex6", true, true},      {"tex7", true, true},
    {"tex8", true, true},    {"menu00", true, false}, {"menu01", false, false},  {"menu02", false, false},
    {"menu03", false, false}, {"menu04", false, false}, {"menu05", false, false}, {"tex9", true, true},
    {"lev03", false, false}, {"lev04", false, false}, {"lev01", false, false},   {"lev02", false, false},
    {"tex10", true, true},   {"tex11", true, true},   {"efx01", false, false},   {"space1", false, false},
    {"menu06", false, false}, {"spacemenu", false, false}, {"tex12", true, true}, {"gui", false, false},
    {"space2", false, false}, {"powerups", false, false}, {"wall", true, true},  {"shield", false, false},
    {"single", true, false}, {"checkp", true, true},  {"space3", false, false},   {"space4", false, false},
    {"lev05", false, false}, {"tex13", true, true},   {"lev06", false, false},
};

std::vector<unsigned char> readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t bigEndian32(const unsigned char* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }
uint32_t littleEndian32(const unsigned char* p) { return uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0]; }
uint16_t littleEndian16(const unsigned char* p) { return static_cast<uint16_t>(p[1] << 8 | p[0]); }

// An image decoded the way the game decodes it, as 8-bit RGBA rows.
class Image {
public:
    explicit Image(const fs::path& path) : surface_(IMG_Load(path.c_str()), SDL_FreeSurface) {}
    bool loaded() const { return surface_ != nullptr; }
    int width() const { return surface_->w; }
    int height() const { return surface_->h; }
    int bytesPerPixel() const { return surface_->format->BytesPerPixel; }
    // The brightest of red, green and blue at a pixel, 0..255.
    int brightness(int x, int y) const {
        const auto* row = static_cast<const unsigned char*>(surface_->pixels) + y * surface_->pitch;
        const unsigned char* p = row + x * 4;
        return std::max({p[0], p[1], p[2]});
    }
    // Brightest pixel in a rectangle given in texture coordinates.
    int brightestIn(float s0, float t0, float s1, float t1) const {
        int best = 0;
        for (int y = static_cast<int>(t0 * height()); y < static_cast<int>(t1 * height()); ++y)
            for (int x = static_cast<int>(s0 * width()); x < static_cast<int>(s1 * width()); ++x)
                best = std::max(best, brightness(x, y));
        return best;
    }

private:
    std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> surface_;
};

class DataTree : public ::testing::Test {
protected:
    void SetUp() override {
        const char* dir = std::getenv("TAVRELO_RUNTIME_DIR");
        if (!dir) GTEST_SKIP() << "TAVRELO_RUNTIME_DIR is not set";
        root_ = dir;
    }

    fs::path gfx() const { return root_ / "gfx"; }

    // Texture sets as the game lists them: folders in gfx/ without a dot.
    std::vector<std::string> textureSets() const {
        std::vector<std::string> sets;
        for (const auto& entry : fs::directory_iterator(gfx()))
            if (entry.is_directory() && entry.path().filename().string().find('.') == std::string::npos)
                sets.push_back(entry.path().filename().string());
        std::sort(sets.begin(), sets.end());
        return sets;
    }

    // Frames name00.png, name01.png, ... counted to the first gap.
    int frameCount(const fs::path& folder, const std::string& name) const {
        int count = 0;
        while (fs::exists(folder / (name + char('0' + count / 10) + char('0' + count % 10) + ".png"))) ++count;
        return count;
    }

    fs::path root_;
};

TEST_F(DataTree, EverySetHasEverySetSlotPlainOrAsFrames) {
    std::vector<std::string> sets = textureSets();
    ASSERT_GE(sets.size(), 2u);
    for (const std::string& set : sets) {
        SCOPED_TRACE(set);
        EXPECT_LT(set.size(), 16u) << "set names live in 16-byte buffers";
        fs::path folder = gfx() / set;
        int animatedBlockSlots = 0;
        for (const Slot& slot : kSlots) {
            if (!slot.inSet) continue;
            SCOPED_TRACE(slot.name);
            bool plain = fs::exists(folder / (std::string(slot.name) + ".png"));
            int frames = frameCount(folder, slot.name);
            if (!slot.animatable) {
                EXPECT_TRUE(plain) << "a slot that cannot animate must be a plain file";
                continue;
            }
            EXPECT_TRUE(plain || frames > 0);
            EXPECT_FALSE(plain && frames > 0) << "frames beside a plain file would never be shown";
            if (frames > 0) {
                EXPECT_GE(frames, 2) << "an animation needs more than one frame";
                // A stray frame after a gap would be silently ignored by the loader.
                std::string gap = std::string(slot.name) + char('0' + (frames + 1) / 10) + char('0' + (frames + 1) % 10);
                EXPECT_FALSE(fs::exists(folder / (gap + ".png")));
                if (std::string(slot.name).rfind("tex", 0) == 0) ++animatedBlockSlots;
            }
        }
        EXPECT_GE(animatedBlockSlots, 3);
    }
}

TEST_F(DataTree, EveryRootSlotTitleAndFontExist) {
    for (const Slot& slot : kSlots) {
        if (!slot.inSet) {
            EXPECT_TRUE(fs::exists(gfx() / (std::string(slot.name) + ".png"))) << slot.name;
        }
    }
    EXPECT_TRUE(fs::exists(gfx() / "titles.png"));
    EXPECT_TRUE(fs::exists(gfx() / "font1.png"));
    EXPECT_TRUE(fs::is_directory(root_ / "maps"));
}

TEST_F(DataTree, EveryImageIsAn8BitRgbaPng) {
    int checked = 0;
    for (const auto& entry : fs::recursive_directory_iterator(gfx())) {
        if (entry.path().extension() != ".png") continue;
        SCOPED_TRACE(entry.path().string());
        std::vector<unsigned char> bytes = readFile(entry.path());
        ASSERT_GE(bytes.size(), 33u);
        const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        EXPECT_TRUE(std::equal(signature, signature + 8, bytes.begin()));
        EXPECT_EQ(std::string(bytes.begin() + 12, bytes.begin() + 16), "IHDR");
        EXPECT_GT(bigEndian32(&bytes[16]), 0u);
        EXPECT_GT(bigEndian32(&bytes[20]), 0u);
        EXPECT_EQ(bytes[24], 8) << "bit depth";
        EXPECT_EQ(bytes[25], 6) << "colour type RGBA";
        ++checked;
    }
    EXPECT_GT(checked, 60);
}

TEST_F(DataTree, FontHoldsPrintableAsciiInSixteenByEightCells) {
    Image font(gfx() / "font1.png");
    ASSERT_TRUE(font.loaded());
    ASSERT_EQ(font.bytesPerPixel(), 4);
    ASSERT_EQ(font.width() % 16, 0);
    ASSERT_EQ(font.height() % 8, 0);
    int cellWidth = font.width() / 16, cellHeight = font.height() / 8;
    EXPECT_EQ(cellWidth, cellHeight) << "the game draws a cell as a square glyph";
    EXPECT_GE(cellHeight, 16);
    auto cellInk = [&](int cell, int rowFrom, int rowTo) {
        int left = (cell % 16) * cellWidth, top = (cell / 16) * cellHeight, best = 0;
        for (int y = top + rowFrom; y < top + rowTo; ++y)
            for (int x = left; x < left + cellWidth; ++x) best = std::max(best, font.brightness(x, y));
        return best;
    };
    EXPECT_EQ(cellInk(0, 0, cellHeight), 0) << "the space must draw nothing";
    for (int c = 33; c <= 126; ++c) {
        SCOPED_TRACE(std::string(1, static_cast<char>(c)));
        EXPECT_GT(cellInk(c - 32, 0, cellHeight), 200) << "glyph is missing";
        // Text samples each cell with a small inset; ink on the cell's
        // outermost rows would bleed into the neighbouring row.
        EXPECT_EQ(cellInk(c - 32, 0, 1), 0);
        EXPECT_EQ(cellInk(c - 32, cellHeight - 1, cellHeight), 0);
    }
    for (int cell = 95; cell < 128; ++cell) EXPECT_EQ(cellInk(cell, 0, cellHeight), 0) << "unused cell " << cell;
}

TEST_F(DataTree, TitleStripsLieWhereTheScreensCutThem) {
    Image titles(gfx() / "titles.png");
    ASSERT_TRUE(titles.loaded());
    struct Strip {
        const char* screen;
        float s0, t0, s1, t1;
    };
    const Strip strips[] = {
        {"main menu", 0, 0.0f, 1, 0.13f},         {"map selection", 0, 0.14f, 1, 0.27f},
        {"campaigns", 0, 0.27f, 1, 0.40f},        {"multiplayer", 0, 0.405f, 1, 0.53f},
        {"options", 0, 0.54f, 1, 0.67f},          {"record kept", 0, 0.66f, 1, 0.76f},
        {"new record", 0, 0.77f, 1, 0.84f},       {"checkpoint banner", 0.5f, 0.93f, 0.9f, 1.0f},
    };
    for (const Strip& strip : strips) EXPECT_GT(titles.brightestIn(strip.s0, strip.t0, strip.s1, strip.t1), 200) << strip.screen;
    // Rows no screen shows stay dark, so no strip picks up a stray piece.
    EXPECT_LT(titles.brightestIn(0, 0.85f, 1, 0.92f), 16);
    EXPECT_LT(titles.brightestIn(0, 0.94f, 0.49f, 1.0f), 16);
}

TEST_F(DataTree, FrameImageHasItsPiecesAtTheSampledPlaces) {
    Image gui(gfx() / "gui.png");
    ASSERT_TRUE(gui.loaded());
    EXPECT_GT(gui.brightestIn(0, 0, 0.25f, 1), 200) << "corner";
    EXPECT_GT(gui.brightestIn(0.25f, 0, 0.34f, 1), 200) << "side border";
    EXPECT_GT(gui.brightestIn(0.51f, 0, 0.74f, 1), 200) << "top border";
    EXPECT_GT(gui.brightestIn(0.4f, 0.1f, 0.47f, 0.7f), 200) << "scroll arrow";
    EXPECT_GT(gui.brightestIn(0.755f, 0.005f, 0.995f, 0.995f), 200) << "medal";
    // Borders repeat along their length: every row of the side strip and
    // every column of the top strip must look the same.
    for (int y = 1; y < gui.height(); ++y)
        for (int x = static_cast<int>(0.25f * gui.width()); x < static_cast<int>(0.34f * gui.width()); ++x)
            ASSERT_EQ(gui.brightness(x, y), gui.brightness(x, 0));
    // The gap between the border and the arrow stays dark.
    EXPECT_LT(gui.brightestIn(0.355f, 0, 0.39f, 1), 16);
}

// The lights' full ambient shows the craft's skin at its own colours, and
// the glow takes what is brighter than 0.55 (the filter's threshold): the
// hull stays below it so the craft keeps its shape at the highest detail;
// the rim lights and the nozzles glow.
TEST_F(DataTree, TheCraftSkinGlowsOnlyInItsLights) {
    for (const std::string& set : textureSets()) {
        SCOPED_TRACE(set);
        Image skin(gfx() / set / "tex7.png");
        ASSERT_TRUE(skin.loaded());
        const int glowThreshold = int(0.55 * 255);
        EXPECT_LT(skin.brightestIn(0, 0, 1, 0.19f), glowThreshold) << "upper plating";
        EXPECT_LT(skin.brightestIn(0, 0.34f, 1, 0.5f), glowThreshold) << "underside";
        EXPECT_GT(skin.brightestIn(0, 0.21f, 1, 0.32f), 200) << "rim lights";
        EXPECT_GT(skin.brightestIn(0.8f, 0.7f, 0.95f, 0.8f), 200) << "nozzles";
    }
}

TEST_F(DataTree, EveryIconCellOfThePowerupsImageIsDrawn) {
    Image icons(gfx() / "powerups.png");
    ASSERT_TRUE(icons.loaded());
    // Icon 0 (nothing held) is a dim socket; the held power-ups are bright.
    for (int n = 0; n < 8; ++n) {
        float s = (n % 4) * 0.25f, t = (n / 4) * 0.5f;
        EXPECT_GT(icons.brightestIn(s, t, s + 0.25f, t + 0.5f), n == 0 ? 20 : 200) << "icon " << n;
    }
}

TEST_F(DataTree, EverySoundIsAnAudiblePcmWaveWithoutClipping) {
    const char* names[] = {"heal", "hurt", "jump", "bump", "menu", "select", "place", "checkpoint",
                           "slowdown", "speedup", "explode", "powerup", "pong1", "life", "push"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        std::vector<unsigned char> bytes = readFile(root_ / "sounds" / (std::string(name) + ".wav"));
        ASSERT_GE(bytes.size(), 44u);
        ASSERT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
        ASSERT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 12), "WAVE");
        EXPECT_EQ(littleEndian32(&bytes[4]), bytes.size() - 8);
        ASSERT_EQ(std::string(bytes.begin() + 12, bytes.begin() + 16), "fmt ");
        EXPECT_EQ(littleEndian16(&bytes[20]), 1) << "PCM";
        uint16_t channels = littleEndian16(&bytes[22]);
        uint32_t rate = littleEndian32(&bytes[24]);
        EXPECT_EQ(littleEndian16(&bytes[34]), 16);
        EXPECT_EQ(littleEndian32(&bytes[28]), rate * channels * 2);
        ASSERT_EQ(std::string(bytes.begin() + 36, bytes.begin() + 40), "data");
        uint32_t dataBytes = littleEndian32(&bytes[40]);
        ASSERT_EQ(dataBytes, bytes.size() - 44);
        ASSERT_GT(dataBytes, 0u);
        EXPECT_LT(dataBytes / (2.0 * channels * rate), 1.5) << "seconds";
        int peak = 0;
        for (size_t i = 44; i + 1 < bytes.size(); i += 2)
            peak = std::max(peak, std::abs(static_cast<int16_t>(littleEndian16(&bytes[i]))));
        EXPECT_GT(peak, 8000) << "too quiet";
        EXPECT_LT(peak, 32000) << "clipped";
    }
}

TEST_F(DataTree, GlowShadersExist) {
    for (const char* name : {"filter.frag", "blurv.frag", "blurh.frag"})
        EXPECT_TRUE(fs::is_regular_file(root_ / "shaders" / name)) << name;
}

}  // namespace
