#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "modes/timeattack/map_sel.h"
#include "modes/timeattack/records.h"
#include "support/sim_fixtures.h"
#include "support/temp_dir.h"

namespace {

// The map list's selection and its window of eleven rows.
class MapList : public ::testing::Test {
protected:
    // Steps up or down as often as asked; returns how many select sounds
    // played.
    int move(int delta, int times = 1) {
        services.mixer.clear();
        for (int i = 0; i < times; ++i) list.moveSelection(delta);
        for (const auto& sound : services.mixer.played_) EXPECT_EQ(sound.first, ANY_CHANNEL);
        return services.mixer.count(SOUND_SELECT);
    }

    SimServices services;
    MapSel list;
};

TEST_F(MapList, StaysInsideTheListWithoutASound) {
    list.mapCount = 3;
    EXPECT_EQ(move(-1), 0) << "nothing above the first level";
    EXPECT_EQ(list.selected, 0);
    EXPECT_EQ(move(+1, 5), 2);
    EXPECT_EQ(list.selected, 2);
    EXPECT_EQ(list.firstVisibleRow, 0);
}

TEST_F(MapList, ScrollsOncePastTheSixthVisibleRow) {
    list.mapCount = 20;
    move(+1, 5);
    EXPECT_EQ(list.selected, 5);
    EXPECT_EQ(list.firstVisibleRow, 0) << "the sixth row still shows from the top";
    move(+1);
    EXPECT_EQ(list.selected, 6);
    EXPECT_EQ(list.firstVisibleRow, 1);
    move(+1, 13);
    EXPECT_EQ(list.selected, 19);
    EXPECT_EQ(list.firstVisibleRow, 14) << "the selection stays on the sixth row down to the end";
}

TEST_F(MapList, ScrollsUpOnlyWhenTheSelectionLeavesTheTop) {
    list.mapCount = 20;
    move(+1, 19);
    ASSERT_EQ(list.firstVisibleRow, 14);
    move(-1, 5);
    EXPECT_EQ(list.selected, 14);
    EXPECT_EQ(list.firstVisibleRow, 14);
    move(-1);
    EXPECT_EQ(list.selected, 13);
    EXPECT_EQ(list.firstVisibleRow, 13);
    EXPECT_EQ(move(-1, 20), 13);
    EXPECT_EQ(list.selected, 0);
    EXPECT_EQ(list.firstVisibleRow, 0);
}

// refresh() reads maps/ and highscore.hsc from the working directory.
class MapListOnDisk : public MapList {
protected:
    void SetUp() override {
        ASSERT_TRUE(temp.ok());
        mkdir(temp.file("maps").c_str(), 0755);
        ASSERT_NE(getcwd(saved, sizeof saved), nullptr);
        ASSERT_EQ(chdir(temp.path().c_str()), 0);
    }
    void TearDown() override {
        EXPECT_EQ(chdir(saved), 0);
        recordTable.clear();
    }
    void addLevels(int count) {
        for (int i = 0; i < count; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "maps/level%02d.slv", i);
            std::ofstream(name) << "level";
        }
    }

    TempDir temp{"tavrelo-maplist"};
    char saved[4096] = {};
};

TEST_F(MapListOnDisk, SelectionFollowsLevelsThatWentAway) {
    addLevels(20);
    list.refresh();
    ASSERT_EQ(list.mapCount, 20);
    move(+1, 19);
    ASSERT_EQ(list.selected, 19);
    list.refresh();
    EXPECT_EQ(list.selected, 19) << "a visit keeps the selection";
    EXPECT_EQ(list.firstVisibleRow, 14) << "and the scrolled window";
    for (int i = 4; i < 20; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "maps/level%02d.slv", i);
        unlink(name);
    }
    list.refresh();
    EXPECT_EQ(list.mapCount, 4);
    EXPECT_EQ(list.selected, 3) << "Enter must never start an entry past the list";
    EXPECT_EQ(list.firstVisibleRow, 0);
}

TEST_F(MapListOnDisk, TotalsCountOnlyRecordsAndAnEmptyListAveragesZero) {
    addLevels(3);
    list.refresh();
    EXPECT_EQ(list.totals.records, 0);
    EXPECT_EQ(list.totals.totalMs, 0u);
    for (int i = 0; i < 3; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "maps/level%02d.slv", i);
        unlink(name);
    }
    list.refresh();
    EXPECT_EQ(list.mapCount, 0);
    EXPECT_EQ(list.selected, 0);
    EXPECT_EQ(list.totals.totalMs + list.totals.averageMs, 0u);
    EXPECT_EQ(move(+1), 0);
}

}  // namespace
