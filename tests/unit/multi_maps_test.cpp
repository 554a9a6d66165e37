#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "level/level_text.h"
#include "modes/multi/mode_menu.h"
#include "replay/level_check.h"
#include "support/shipped_levels.h"
#include "support/two_player_fixtures.h"

namespace {

std::string readText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Race maps are time-attack maps with the race's prefix; castle maps have a
// proof route of their own.
std::vector<ShippedLevel> shippedMaps(const std::string& prefix) {
    std::vector<ShippedLevel> maps;
    for (const ShippedLevel& shipped : shippedLevelsWithPrefix(prefix == "ra-" ? "" : prefix))
        if (shipped.name.rfind(prefix, 0) == 0) maps.push_back(shipped);
    return maps;
}

class ShippedRaceMaps : public RaceLevel {};

TEST_F(ShippedRaceMaps, BothCraftsFinishEveryRaceMapWithItsRecording) {
    const std::vector<ShippedLevel> maps = shippedMaps("ra-");
    ASSERT_GE(maps.size(), 3u);
    for (const ShippedLevel& shipped : maps) {
        SCOPED_TRACE(shipped.relative);
        load(readText(shipped.textPath), 3, 8);
        const std::vector<HeldKeys> recording = readRecording(shipped.keysPath);
        ASSERT_FALSE(recording.empty());
        // Side by side, both drive the same keys at once.
        for (const HeldKeys& keys : recording) {
            steps(1, keys, keys);
            if (race.players[0].points > 0 && race.players[1].points > 0) break;
        }
        EXPECT_EQ(race.players[0].points, 1);
        EXPECT_EQ(race.players[1].points, 1);
        EXPECT_EQ(race.players[0].craft.lives, 3) << "no run lost on the way";
        EXPECT_EQ(race.players[1].craft.lives, 3);
        EXPECT_EQ(race.deaths[0].total() + race.deaths[1].total(), 0)
            << "A: " << describeDeaths(race.deaths[0]) << ", B: " << describeDeaths(race.deaths[1]);
        EXPECT_GT(race.level.goldTime, 0) << "race maps are time-attack maps too";
    }
}

// Sprint's text promises a heal strip, a speed strip and a slow patch after
// its jump pad: a craft held at full throttle lands before them and drives
// over each one.
TEST_F(ShippedRaceMaps, SprintPadLandsBeforeTheStripsItsTextPromises) {
    const std::vector<ShippedLevel> maps = shippedMaps("ra-");
    const auto sprint = std::find_if(maps.begin(), maps.end(),
                                     [](const ShippedLevel& shipped) { return shipped.name == "ra-sprint"; });
    ASSERT_NE(sprint, maps.end());
    load(readText(sprint->textPath), 3, 8);
    HeldKeys forward;
    forward.forward = true;
    bool padTaken = false;
    std::set<int> afterPad;
    for (int step = 0; step < 2000 && race.players[0].craft.lives == 3; ++step) {
        steps(1, forward, forward);
        const int ground = race.players[0].craft.groundType;
        if (ground == BLOCK_JUMP) padTaken = true;
        else if (padTaken && ground >= 0) afterPad.insert(ground);
    }
    ASSERT_TRUE(padTaken);
    for (int type : {BLOCK_HEAL, BLOCK_SPEED, BLOCK_SLOW}) EXPECT_TRUE(afterPad.count(type)) << "block type " << type;
}

class ShippedCastleMaps : public CastleLevel {};

TEST_F(ShippedCastleMaps, EveryCastleMapIsWonByRepeatingItsRecordedAttack) {
    const std::vector<ShippedLevel> maps = shippedMaps("ca-");
    ASSERT_GE(maps.size(), 3u);
    for (const ShippedLevel& shipped : maps) {
        SCOPED_TRACE(shipped.relative);
        load(readText(shipped.textPath), 5, true, 8);
        const std::vector<HeldKeys> attack = readRecording(shipped.keysPath);
        ASSERT_FALSE(attack.empty());
        for (int round = 0; round < 5 && !castle.over(); ++round) {
            const int before = castle.players[1].castleHealth;
            for (const HeldKeys& keys : attack) {
                steps(1, keys, {});
                if (castle.players[1].castleHealth < before) break;
            }
            ASSERT_EQ(castle.players[1].castleHealth, before - 1) << "attack " << round;
        }
        EXPECT_TRUE(castle.over());
        EXPECT_EQ(castle.winner(), PLAYER_A);
        EXPECT_EQ(castle.players[0].deaths, 0);
        EXPECT_EQ(castle.deaths[0].total(), 0) << describeDeaths(castle.deaths[0]);
        EXPECT_EQ(castle.players[0].castleHealth, 5);
    }
}

TEST(ShippedCastleMapsLayout, HomeGateNearTheStartAndPowerupsOnTheWay) {
    for (const ShippedLevel& shipped : shippedMaps("ca-")) {
        SCOPED_TRACE(shipped.relative);
        Level level;
        ASSERT_EQ(parseLevelText(readText(shipped.textPath), level, nullptr), 0);
        int goals = 0, powerups = 0;
        for (const Block& block : level.blocks) {
            if (block.type == BLOCK_GOAL) {
                ++goals;
                EXPECT_LT(block.body.z - level.blocks[0].body.z, 6000) << "the gate stands near the start";
            }
            if (block.body.pointX != 0 && block.body.has(FLAG_POWERUP)) ++powerups;
        }
        EXPECT_GE(goals, 1);
        EXPECT_GE(powerups, 2);
    }
}

bool isPng(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char signature[8] = {};
    in.read(signature, 8);
    return in && std::string(signature, 8) == "\x89PNG\r\n\x1a\n";
}

TEST(ShippedPreviews, EveryTwoPlayerMapHasItsPictureAndThereIsAFallback) {
    const char* runtime = std::getenv("TAVRELO_RUNTIME_DIR");
    if (runtime == nullptr) GTEST_SKIP() << "no built data tree";
    const std::string maps = std::string(runtime) + "/maps";
    EXPECT_TRUE(isPng(maps + "/nopic.png"));
    for (const char* prefix : {"ca-", "ra-"}) {
        const std::vector<std::string> listed = listModeMaps(maps, prefix);
        EXPECT_EQ(listed.size(), shippedMaps(prefix).size());
        for (const std::string& name : listed) EXPECT_TRUE(isPng(previewPath(maps, name))) << name;
    }
}

class ModeMaps : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(temp.ok()); }
    TempDir temp{"tavrelo-mode-maps"};
};

TEST_F(ModeMaps, ListsOnlyItsPrefixSortedAsSignedBytes) {
    for (const char* name : {"ra-x.slv", "ra-b.slv", "ra-\xc3\xa9t\xc3\xa9.slv", "ra-a.slv", "ra-ab.slv", "ca-z.slv",
                             "race.slv", "ra-notes.txt", "xra-y.slv"})
        temp.write(name, "");
    const std::vector<std::string> race = listModeMaps(temp.path(), "ra-");
    const std::vector<std::string> expected = {"ra-\xc3\xa9t\xc3\xa9.slv", "ra-a.slv", "ra-ab.slv", "ra-b.slv",
                                               "ra-x.slv"};
    EXPECT_EQ(race, expected) << "bytes above 127 sort first as signed characters; a prefix before the longer name";
    EXPECT_EQ(listModeMaps(temp.path(), "ca-"), std::vector<std::string>{"ca-z.slv"});
    EXPECT_TRUE(listModeMaps(temp.file("missing"), "ra-").empty());
}

TEST_F(ModeMaps, LongNamesAreCutTo32Characters) {
    const std::string name = "ra-" + std::string(40, 'q') + ".slv";
    temp.write(name, "");
    const std::vector<std::string> race = listModeMaps(temp.path(), "ra-");
    ASSERT_EQ(race.size(), 1u);
    EXPECT_EQ(race[0], name.substr(0, 32));
}

TEST(ModePreview, TheFirstSlvBecomesPng) {
    EXPECT_EQ(previewPath("maps", "ra-x.slv"), "maps/ra-x.png");
    EXPECT_EQ(previewPath("maps", "ca-a.slv.slv"), "maps/ca-a.png.slv");
}

ModeMenu menuWith(int castleMaps, int raceMaps) {
    ModeMenu menu;
    for (int i = 0; i < castleMaps; ++i) menu.castleMaps.push_back("ca-" + std::to_string(i) + ".slv");
    for (int i = 0; i < raceMaps; ++i) menu.raceMaps.push_back("ra-" + std::to_string(i) + ".slv");
    return menu;
}

TEST(ModeMenuPages, PagesTurnRoundAndResetTheSelection) {
    ModeMenu menu = menuWith(8, 2);
    menu.down();
    menu.down();
    menu.previousPage();
    EXPECT_EQ(menu.page, PAGE_OPTIONS);
    EXPECT_EQ(menu.selectedRow, 0);
    menu.nextPage();
    EXPECT_EQ(menu.page, PAGE_CASTLE_ATTACK);
    menu.nextPage();
    EXPECT_EQ(menu.page, PAGE_RACE);
    EXPECT_EQ(menu.selectedMap(), "ra-0.slv");
    EXPECT_EQ(menu.previewIndex(), 8) << "race previews follow the castle ones";
}

TEST(ModeMenuPages, MapRowsScrollToKeepTheSelectionNearTheThirdRow) {
    ModeMenu menu = menuWith(8, 0);
    for (int i = 0; i < 3; ++i) menu.down();
    EXPECT_EQ(menu.selectedRow, 3);
    EXPECT_EQ(menu.firstVisibleRow, 1);
    EXPECT_TRUE(menu.hiddenAbove());
    EXPECT_TRUE(menu.hiddenBelow());
    for (int i = 0; i < 10; ++i) menu.down();
    EXPECT_EQ(menu.selectedRow, 7) << "stops at the last map";
    EXPECT_EQ(menu.firstVisibleRow, 5);
    EXPECT_FALSE(menu.hiddenBelow());
    menu.up();
    EXPECT_EQ(menu.firstVisibleRow, 4);
    for (int i = 0; i < 10; ++i) menu.up();
    EXPECT_EQ(menu.selectedRow, 0);
    EXPECT_EQ(menu.firstVisibleRow, 0);
}

TEST(ModeMenuPages, AnEmptyPageHasNothingToStartOrShow) {
    ModeMenu menu = menuWith(0, 3);
    menu.down();
    EXPECT_EQ(menu.selectedRow, 0);
    EXPECT_EQ(menu.selectedMap(), "");
    EXPECT_EQ(menu.previewIndex(), -1);
    EXPECT_FALSE(menu.hiddenBelow());
}

TEST(ModeMenuOptions, RowsCycleAndSpaceChangesTheChosenOne) {
    ModeMenu menu = menuWith(1, 1);
    menu.page = PAGE_OPTIONS;
    menu.up();
    EXPECT_EQ(menu.selectedRow, OPTION_RACE_GRAVITY);
    menu.down();
    EXPECT_EQ(menu.selectedRow, OPTION_CASTLE_LIVES);
    menu.settings.raceLives = 9;  // as the file may hold it
    menu.selectedRow = OPTION_RACE_LIVES;
    menu.changeOption();
    EXPECT_EQ(menu.settings.raceLives, 2);
    menu.selectedRow = OPTION_POWERUPS;
    menu.changeOption();
    EXPECT_FALSE(menu.settings.powerups);
    menu.selectedRow = OPTION_CASTLE_GRAVITY;
    menu.settings.castleGravity = 10;
    menu.changeOption();
    EXPECT_EQ(menu.settings.castleGravity, 5);
    EXPECT_EQ(menu.selectedMap(), "") << "the options page starts no map";
}

}  // namespace
