#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "core/byte_io.h"
#include "core/game_paths.h"
#include "core/gamestate.h"
#include "core/state_ids.h"
#include "modes/timeattack/ghost.h"
#include "modes/timeattack/level_end.h"
#include "modes/timeattack/record_save.h"
#include "modes/timeattack/record_texts.h"
#include "modes/timeattack/records.h"
#include "modes/timeattack/time_attack.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"

namespace {

// The record screen keeping (or not keeping) a finished run, installed:
// the level in the data root (the working directory), the record and ghost
// that already exist in the player's folder apart from it.
class RecordScreen : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temp.ok());
        ASSERT_NE(getcwd(saved, sizeof saved), nullptr);
        ASSERT_EQ(mkdir(temp.file("data").c_str(), 0755), 0);
        ASSERT_EQ(chdir(temp.file("data").c_str()), 0);
        mkdir("maps", 0755);
        std::ofstream("maps/track.slv") << "level";
        setGameRoots(GameRoots{temp.file("data"), temp.file("user")});
        std::string why;
        ASSERT_TRUE(prepareUserRoot(why)) << why;
        savedPlay = stateTable[STATE_TIMEATTACK];
        stateTable[STATE_TIMEATTACK] = &play;

        storeOldRecord();

        play.mapIndex = 0;
        play.run.levelPath = "maps/track.slv";
        play.run.level.goldTime = 5000;
        play.run.level.silverTime = 7000;
        play.run.level.bronzeTime = 9000;
        // A finished run of 6.5 s whose recording holds three samples.
        Craft& craft = play.run.craft;
        craft.timeMs = 6500;
        craft.seconds = 6;
        craft.msPart = 500;
        craft.finished = true;
        startRecording(ghost, craft);
        ghost.sampleIndex = 2;
        screen.typedName = "Ada";
    }
    void TearDown() override {
        stateTable[STATE_TIMEATTACK] = savedPlay;
        releaseGhost(ghost);
        recordTable.clear();
        setGameRoots(GameRoots{".", "."});
        EXPECT_EQ(chdir(saved), 0);
    }

    // The kept record: 9 s by "Old", bronze, with a ghost of one sample.
    void storeOldRecord() {
        ASSERT_EQ(scanMaps("maps", recordTable), 1);
        recordTable[0].recordTime = 9000;
        recordTable[0].holder = "Old";
        recordTable[0].medal = MEDAL_BRONZE;
        ASSERT_EQ(writeHighscores(userFile(HIGHSCORE_FILE), recordTable), 0);
        writeOldGhost();
    }
    void writeOldGhost() {
        ByteWriter writer;
        writer.writeInt32(1);
        writer.writeInt32(7);
        writer.writeInt32(8);
        writer.writeInt32(9);
        ASSERT_EQ(writeBytesAtomically(userFile("maps/track.gho"), writer.bytes()), 0);
    }
    size_t ghostFileSize() {
        std::vector<uint8_t> bytes;
        return readWholeFile(userFile("maps/track.gho"), bytes) ? bytes.size() : 0;
    }
    std::vector<RecordEntry> recordsOnDisk() {
        std::vector<RecordEntry> table;
        scanMaps("maps", table);
        readHighscores(userFile(HIGHSCORE_FILE), table);
        return table;
    }
    // Every file in the player's folder, as "maps/track.gho".
    std::vector<std::string> userFiles() {
        std::vector<std::string> names;
        for (const auto& item : std::filesystem::recursive_directory_iterator(temp.file("user")))
            if (item.is_regular_file()) names.push_back(item.path().lexically_relative(temp.file("user")).string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir temp{"tavrelo-levelend"};
    char saved[4096] = {};
    Gamestate* savedPlay = nullptr;
    TimeAttack play;
    LevelEnd screen;
};

TEST_F(RecordScreen, NewRecordKeepsTimeHolderMedalAndGhost) {
    EXPECT_EQ(screen.store(), 0);
    std::vector<RecordEntry> table = recordsOnDisk();
    ASSERT_EQ(table.size(), 1u);
    EXPECT_EQ(table[0].recordTime, 6500u);
    EXPECT_EQ(table[0].holder, "Ada");
    EXPECT_EQ(table[0].medal, MEDAL_SILVER);
    EXPECT_EQ(ghostFileSize(), 4u + 3u * 12u) << "the run's three samples replace the old ghost";
}

TEST_F(RecordScreen, RunWithoutNewRecordChangesNothing) {
    play.run.craft.finished = false;
    EXPECT_EQ(screen.store(), 0);
    std::vector<RecordEntry> table = recordsOnDisk();
    EXPECT_EQ(table[0].recordTime, 9000u);
    EXPECT_EQ(table[0].holder, "Old");
    EXPECT_EQ(ghostFileSize(), 4u + 12u);
}

TEST_F(RecordScreen, UnwritableRecordFileKeepsTheOldGhost) {
    // A directory in the record file's place: the rename over it fails.
    ASSERT_EQ(unlink(userFile(HIGHSCORE_FILE).c_str()), 0);
    ASSERT_EQ(mkdir(userFile(HIGHSCORE_FILE).c_str(), 0755), 0);
    EXPECT_EQ(screen.store(), -1);
    EXPECT_EQ(ghostFileSize(), 4u + 12u) << "the ghost still belongs to the record that is kept";
    // The table goes back to the kept record: the next run races 9 s, not
    // a time that was never saved.
    EXPECT_EQ(recordTable[0].recordTime, 9000u);
    EXPECT_EQ(recordTable[0].holder, "Old");
    EXPECT_EQ(recordTable[0].medal, MEDAL_BRONZE);
    EXPECT_TRUE(screen.saveFailed) << "the screen tells the player";
    // A second press leaves without trying again.
    EXPECT_EQ(screen.store(), 0);
    EXPECT_EQ(recordTable[0].recordTime, 9000u);
}

// The game killed (SIGKILL) at every point of a record save in turn, then
// started again: the player finds the old record beside its old ghost or
// the new record beside its new ghost, and no other file. Also when the new
// ghost cannot be written (a folder in its way): the new record then stands
// without a ghost.
TEST_F(RecordScreen, AKillAtAnyPointOfTheSaveKeepsEachRecordWithItsOwnGhost) {
    ghost.sampleIndex = 30;  // the new run's ghost: 31 samples, the old one's: 1
    for (const bool ghostRefused : {false, true}) {
        int point = 1;
        for (bool killed = true; killed; ++point) {
            SCOPED_TRACE(testing::Message() << "ghost refused " << ghostRefused << ", killed at point " << point);
            storeOldRecord();
            const std::string blocker = userFile("maps/track.gho.new-" + std::to_string(recordTable[0].fileTime) + "-6500");
            if (ghostRefused) mkdir(blocker.c_str(), 0755);
            killed = killedAtSavePoint(point, [this] { screen.store(); });
            finishInterruptedRecordSaves();
            rmdir(blocker.c_str());

            const RecordEntry stored = recordsOnDisk()[0];
            const bool newRecord = stored.recordTime == 6500;
            EXPECT_TRUE(newRecord || stored.recordTime == 9000) << stored.recordTime;
            Ghost next;
            loadGhostOfRecord(next, "maps/track.slv", stored.recordTime);
            const size_t samples = !newRecord ? 1 : ghostRefused ? 0 : 31;
            EXPECT_EQ(next.samples.size(), samples);
            std::vector<std::string> expected = {"highscore.hsc"};
            if (samples > 0) expected.push_back("maps/track.gho");
            EXPECT_EQ(userFiles(), expected);
        }
        EXPECT_GT(point, 8) << "every write of the save passes its points";
    }
}

// A level opened from elsewhere, killed after its record file (the new
// ghost takes over) or before it (the new ghost goes).
TEST_F(RecordScreen, AnOpenedLevelsInterruptedSaveIsFinishedAtTheNextStart) {
    for (const uint32_t kept : {6500u, 9000u}) {
        const RecordEntry record{77, kept, "road.slv"};
        ASSERT_EQ(writeHighscores(userFileForWriting("opened/road.hsc"), {record}), 0);
        ASSERT_EQ(writeGhostFile(userFile("opened/road.gho"), std::vector<GhostSample>(1), 1), 0);
        ASSERT_EQ(writeGhostFile(userFile("opened/road.gho.new-77-6500"), std::vector<GhostSample>(31), 31), 0);
        finishInterruptedRecordSaves();
        std::vector<GhostSample> samples;
        EXPECT_TRUE(readGhostFile(userFile("opened/road.gho"), samples));
        EXPECT_EQ(samples.size(), kept == 6500u ? 31u : 1u);
        EXPECT_EQ(access(userFile("opened/road.gho.new-77-6500").c_str(), F_OK), -1);
    }
}

TEST_F(RecordScreen, EnterOnAnUnsavedRecordStaysOnTheScreenOnce) {
    ASSERT_EQ(unlink(userFile(HIGHSCORE_FILE).c_str()), 0);
    ASSERT_EQ(mkdir(userFile(HIGHSCORE_FILE).c_str(), 0755), 0);
    // The list the screen returns to, standing in for the real one.
    struct ListStandIn : Gamestate {
        void enter() override { ++entered; }
        int handleEvent(SDL_Event, SDL_Keysym) override { return 0; }
        void draw() override {}
        void update(int) override {}
        int entered = 0;
    } list;
    Gamestate* savedList = stateTable[STATE_MAPSEL];
    Gamestate* savedCurrent = currentState;
    stateTable[STATE_MAPSEL] = &list;
    currentState = &screen;
    screen.typedName = "Ada";
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    SDL_Keysym key{};
    key.sym = SDLK_ESCAPE;
    screen.handleEvent(event, key);
    EXPECT_EQ(currentState, &screen) << "the player reads that the record was not saved";
    EXPECT_TRUE(screen.saveFailed);
    screen.handleEvent(event, key);
    EXPECT_EQ(currentState, &list);
    EXPECT_EQ(list.entered, 1);
    stateTable[STATE_MAPSEL] = savedList;
    currentState = savedCurrent;
}

// The texts the screen draws, with record times a damaged table could hold:
// the difference is computed wide and printed whole.
TEST(RecordScreenTexts, DifferenceIsComputedWide) {
    Craft run;
    run.minutes = 1;
    run.seconds = 2;
    run.msPart = 345;  // 62345 ms
    RecordEntry entry;
    entry.recordTime = 60000;
    entry.holder = "Ada";
    RecordScreenTexts slower = recordScreenTexts(run, &entry, false);
    EXPECT_EQ(slower.yourTime, "Your time was:   1:02:34");
    EXPECT_EQ(slower.recordTime, "Record time is:  1:00:00  by Ada");
    EXPECT_EQ(slower.difference, "That's a difference of 2345 milliseconds.");

    RecordScreenTexts faster = recordScreenTexts(run, &entry, true);
    EXPECT_EQ(faster.recordTime, "Old record time was:  1:00:00");
    EXPECT_EQ(faster.difference, "That's a difference of -2345 milliseconds.");
    EXPECT_EQ(recordDifferenceMs(INT32_MIN, 0xffffffffu, true), 4294967295LL + 2147483648LL);
    EXPECT_EQ(recordDifferenceMs(INT32_MAX, 0, false), 2147483647LL);

    // Without a record before (none in the file, or no map) there is nothing
    // to compare with: a first record says so.
    for (uint32_t none : {NO_RECORD_TIME, 0xffffffffu}) {
        entry.recordTime = none;
        RecordScreenTexts first = recordScreenTexts(run, &entry, true);
        EXPECT_EQ(first.recordTime + first.difference, "This is the first record of this map.");
    }
    RecordScreenTexts slow = recordScreenTexts(run, nullptr, false);
    EXPECT_EQ(slow.recordTime + slow.difference, "No record yet: a record run finishes within 16:39:99.");
}

}  // namespace
