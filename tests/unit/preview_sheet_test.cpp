// The preview tool's contact sheet: many levels' plans laid out in groups,
// each cell drawn with its level and named under it, castle maps as their
// mirrored arena, and a level that cannot be read failing the whole sheet.

#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "level/level_file.h"
#include "support/sim_levels.h"
#include "support/temp_dir.h"

namespace {

struct Cell {
    std::string name;
    int x, y, size;
};

// What the tool printed: the sheet's size and its cells.
struct Printed {
    int width = 0, height = 0;
    std::vector<Cell> cells;
};

Printed parsePrinted(const std::string& text) {
    Printed printed;
    std::istringstream lines(text);
    std::string word;
    while (lines >> word) {
        std::string name;
        if (word == "sheet") {
            lines >> name >> printed.width >> printed.height;
        } else if (word == "cell") {
            Cell cell;
            lines >> cell.name >> cell.x >> cell.y >> cell.size;
            printed.cells.push_back(cell);
        }
    }
    return printed;
}

class Picture {
public:
    explicit Picture(const std::string& path) : surface_(IMG_Load(path.c_str()), SDL_FreeSurface) {}
    bool loaded() const { return surface_ != nullptr; }
    int width() const { return surface_->w; }
    int height() const { return surface_->h; }
    SDL_Color at(int x, int y) const {
        SDL_Color c{0, 0, 0, 0};
        Uint8 alpha = 0;
        const auto* row = static_cast<const Uint8*>(surface_->pixels) + y * surface_->pitch;
        Uint32 pixel = 0;
        std::copy_n(row + x * surface_->format->BytesPerPixel, surface_->format->BytesPerPixel,
                    reinterpret_cast<Uint8*>(&pixel));
        SDL_GetRGBA(pixel, surface_->format, &c.r, &c.g, &c.b, &alpha);
        return c;
    }
    // Pixels in a box for which the test holds.
    template <class Test>
    int count(int left, int top, int width, int height, Test test) const {
        int found = 0;
        for (int y = std::max(0, top); y < std::min(this->height(), top + height); ++y)
            for (int x = std::max(0, left); x < std::min(this->width(), left + width); ++x) found += test(at(x, y));
        return found;
    }

private:
    std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> surface_;
};

bool hurtRed(SDL_Color c) { return c.r > c.g + 60 && c.r > c.b + 60; }
bool lit(SDL_Color c) { return std::max({c.r, c.g, c.b}) > 120; }

// A burning strip at the start and a plain road to the goal: the strip
// shows at the bottom of a plan, and at both ends of a castle arena.
const char* const kTrack =
    "block HURT pos=300,0,0 size=600,500,1000\n"
    "block plain pos=300,0,1000 size=600,500,4000\n"
    "block GOAL pos=300,0,5000 size=600,500,1000\n";

class PreviewSheet : public ::testing::Test {
protected:
    void SetUp() override {
        const char* build = std::getenv("TAVRELO_BUILD_DIR");
        if (!build) GTEST_SKIP() << "TAVRELO_BUILD_DIR not set";
        tool = std::string(build) + "/tools/tavrelo-preview";
        if (access(tool.c_str(), X_OK) != 0) GTEST_SKIP() << "tavrelo-preview not built";
        ASSERT_TRUE(temp.ok());
    }

    std::string writeLevel(const std::string& name) {
        const std::vector<uint8_t> bytes = levelBytes(levelFromText(kTrack));
        std::ofstream(temp.file(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return temp.file(name);
    }

    // Runs the sheet mode; returns the exit status and keeps what it printed.
    int sheet(const std::string& arguments) {
        const std::string command = tool + " --sheet " + temp.file("sheet.png") + " " + arguments + " > " +
                                    temp.file("printed.txt") + " 2> " + temp.file("errors.txt");
        const int status = std::system(command.c_str());
        const std::vector<uint8_t> bytes = temp.readBytes("printed.txt");
        printed = parsePrinted(std::string(bytes.begin(), bytes.end()));
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string tool;
    TempDir temp{"tavrelo-sheet"};
    Printed printed;
};

TEST_F(PreviewSheet, LaysOutEveryLevelInItsGroupAndDrawsEachCell) {
    std::string first;
    std::vector<std::string> names;
    for (int i = 0; i < 7; ++i) {
        names.push_back("s-0" + std::to_string(i + 1) + "-road");
        first += " " + writeLevel(names.back() + ".slv");
    }
    names.push_back("ca-duel");
    names.push_back("duel");
    const std::string second = " " + writeLevel("ca-duel.slv") + " " + writeLevel("duel.slv");
    ASSERT_EQ(sheet("--group 'First Orbit'" + first + " --group Duels" + second), 0);

    ASSERT_EQ(printed.cells.size(), names.size());
    Picture picture(temp.file("sheet.png"));
    ASSERT_TRUE(picture.loaded());
    EXPECT_EQ(picture.width(), printed.width);
    EXPECT_EQ(picture.height(), printed.height);

    for (size_t i = 0; i < printed.cells.size(); ++i) {
        const Cell& cell = printed.cells[i];
        SCOPED_TRACE(cell.name);
        EXPECT_EQ(cell.name, names[i]) << "cells in the order given";
        EXPECT_GE(cell.x, 0);
        EXPECT_LE(cell.x + cell.size, picture.width());
        EXPECT_LE(cell.y + cell.size, picture.height());
        EXPECT_GT(picture.count(cell.x, cell.y, cell.size, cell.size, hurtRed), 20) << "the plan is drawn";
        EXPECT_GT(picture.count(cell.x, cell.y + cell.size, cell.size, 24, lit), 20) << "the name under it";
        for (size_t j = 0; j < i; ++j) {
            const Cell& other = printed.cells[j];
            const bool apart = cell.x >= other.x + other.size || other.x >= cell.x + cell.size ||
                               cell.y >= other.y + other.size || other.y >= cell.y + cell.size;
            EXPECT_TRUE(apart) << "overlaps " << other.name;
        }
    }
    const std::vector<Cell>& cells = printed.cells;
    EXPECT_EQ(cells[5].y, cells[0].y) << "six to a row";
    EXPECT_GT(cells[6].y, cells[0].y);
    EXPECT_EQ(cells[6].x, cells[0].x);
    EXPECT_GT(cells[7].y, cells[6].y + cells[6].size) << "a group starts on a new row, below its heading";
    EXPECT_EQ(cells[7].x, cells[0].x);
    EXPECT_GT(picture.count(0, cells[6].y + cells[6].size + 24, picture.width(), cells[7].y - cells[6].y - cells[6].size - 24, lit), 50)
        << "the second group's heading";

    // The same level as a castle map shows its mirrored half: the strip at
    // the far end too.
    const Cell& castle = cells[7];
    const Cell& plain = cells[8];
    const int third = castle.size / 3;
    EXPECT_GT(picture.count(castle.x, castle.y, castle.size, third, hurtRed), 20);
    EXPECT_GT(picture.count(castle.x, castle.y + 2 * third, castle.size, third, hurtRed), 20);
    EXPECT_EQ(picture.count(plain.x, plain.y, plain.size, third, hurtRed), 0);
    EXPECT_GT(picture.count(plain.x, plain.y + 2 * third, plain.size, third, hurtRed), 20);
}

TEST_F(PreviewSheet, ALevelThatCannotBeReadFailsTheSheetAndNamesIt) {
    const std::string good = writeLevel("good.slv");
    temp.write("broken.slv", "not a level");
    EXPECT_EQ(sheet(good + " " + temp.file("broken.slv")), 1);
    const std::vector<uint8_t> errors = temp.readBytes("errors.txt");
    EXPECT_NE(std::string(errors.begin(), errors.end()).find("broken.slv"), std::string::npos);
    EXPECT_EQ(access(temp.file("sheet.png").c_str(), F_OK), -1) << "no half-drawn sheet is left";
}

TEST_F(PreviewSheet, RefusesASheetWithoutLevelsOrAGroupWithoutATitle) {
    EXPECT_EQ(sheet(""), 2);
    EXPECT_EQ(sheet("--group"), 2);
    EXPECT_EQ(sheet(writeLevel("a.slv") + " --group"), 2);
}

}  // namespace
