#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "core/byte_io.h"
#include "core/gamestate.h"
#include "core/state_ids.h"
#include "modes/timeattack/ghost.h"
#include "modes/timeattack/level_end.h"
#include "modes/timeattack/record_texts.h"
#include "modes/timeattack/records.h"
#include "modes/timeattack/time_attack.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"

namespace {

// The record screen keeping (or not keeping) a finished run, in a private
// working directory with one level whose record and ghost already exist.
class RecordScreen : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temp.ok());
        ASSERT_NE(getcwd(saved, sizeof saved), nullptr);
        ASSERT_EQ(chdir(temp.path().c_str()), 0);
        mkdir("maps", 0755);
        std::ofstream("maps/track.slv") << "level";
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
        EXPECT_EQ(chdir(saved), 0);
    }

    // The kept record: 9 s by "Old", bronze, with a ghost of one sample.
    void storeOldRecord() {
        ASSERT_EQ(scanMaps("maps", recordTable), 1);
        recordTable[0].recordTime = 9000;
        recordTable[0].holder = "Old";
        recordTable[0].medal = MEDAL_BRONZE;
        ASSERT_EQ(writeHighscores(HIGHSCORE_FILE, recordTable), 0);
        writeOldGhost();
    }
    void writeOldGhost() {
        ByteWriter writer;
        writer.writeInt32(1);
        writer.writeInt32(7);
        writer.writeInt32(8);
        writer.writeInt32(9);
        ASSERT_EQ(writeBytesAtomically("maps/track.gho", writer.bytes()), 0);
    }
    size_t ghostFileSize() {
        std::vector<uint8_t> bytes;
        return readWholeFile("maps/track.gho", bytes) ? bytes.size() : 0;
    }
    std::vector<RecordEntry> recordsOnDisk() {
        std::vector<RecordEntry> table;
        scanMaps("maps", table);
        readHighscores(HIGHSCORE_FILE, table);
        return table;
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
    ASSERT_EQ(unlink(HIGHSCORE_FILE), 0);
    ASSERT_EQ(mkdir(HIGHSCORE_FILE, 0755), 0);
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

// The game killed in the middle of storing a record (here by a file-size
// limit, at the record file or at the ghost): whatever it left, the next run
// never races a ghost that is not the stored record's run.
TEST_F(RecordScreen, AKillWhileStoringNeverPairsARecordWithAnotherRunsGhost) {
    // A longer run: its ghost (4 + 31 * 12 bytes) outgrows the record file
    // (4 + 108 bytes), so one limit kills at the ghost and a lower one at
    // the record file.
    ghost.sampleIndex = 30;
    struct Case {
        rlim_t limit;
        uint32_t storedRecord;
    } cases[] = {{200, 6500}, {100, 9000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.limit);
        storeOldRecord();
        EXPECT_TRUE(killedBySizeLimitWhile(c.limit, [this] { screen.store(); }));
        const std::vector<RecordEntry> stored = recordsOnDisk();
        ASSERT_EQ(stored[0].recordTime, c.storedRecord);

        Ghost next;
        loadGhostOfRecord(next, "maps/track.slv", stored[0].recordTime);
        if (!next.loaded) continue;  // no ghost is fine; a wrong one is not
        const size_t samples = c.storedRecord == 6500 ? 31 : 1;
        EXPECT_EQ(next.samples.size(), samples) << "the ghost belongs to another run than the record";
    }
}

TEST_F(RecordScreen, EnterOnAnUnsavedRecordStaysOnTheScreenOnce) {
    ASSERT_EQ(unlink(HIGHSCORE_FILE), 0);
    ASSERT_EQ(mkdir(HIGHSCORE_FILE, 0755), 0);
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

    entry.recordTime = 0xffffffffu;
    RecordScreenTexts faster = recordScreenTexts(run, &entry, true);
    EXPECT_EQ(faster.difference, "That's a difference of 4294904950 milliseconds.");
    EXPECT_EQ(faster.recordTime, "Old record time was: 71582:47:29");
    EXPECT_EQ(recordDifferenceMs(INT32_MIN, 0xffffffffu, true), 4294967295LL + 2147483648LL);
    EXPECT_EQ(recordDifferenceMs(INT32_MAX, 0, false), 2147483647LL);

    RecordScreenTexts none = recordScreenTexts(run, nullptr, false);
    EXPECT_EQ(none.recordTime, "Record time is: 16:39:99  by Brannoc");
}

}  // namespace
