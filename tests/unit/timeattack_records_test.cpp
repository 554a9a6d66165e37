#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include "core/byte_io.h"
#include "modes/timeattack/record_texts.h"
#include "modes/timeattack/records.h"
#include "support/temp_dir.h"

namespace {

// Lowers the largest file this process may write; writes beyond it fail as
// on a full disk instead of raising SIGXFSZ.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};

class RecordFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temp.ok());
        maps = temp.file("maps");
        mkdir(maps.c_str(), 0755);
        highscores = temp.file("highscore.hsc");
    }

    void touchLevel(const std::string& name, long fileTime = 1700000000) {
        std::string path = maps + "/" + name;
        std::ofstream(path) << "level";
        timeval times[2] = {{fileTime, 0}, {fileTime, 0}};
        utimes(path.c_str(), times);
    }

    std::vector<RecordEntry> scanned() {
        std::vector<RecordEntry> table;
        scanMaps(maps, table);
        return table;
    }

    TempDir temp{"tavrelo-records"};
    std::string maps, highscores;
};

TEST_F(RecordFiles, ScanSkipsCastleAndCampaignLevelsAndSortsByByte) {
    touchLevel("beta.slv");
    touchLevel("Alpha.slv");
    touchLevel("ca-arena.slv");
    touchLevel("s-one.slv");
    touchLevel("ra-loop.slv");
    touchLevel("alpha.slv");
    touchLevel("alph.slv");
    touchLevel("notes.txt");
    mkdir((maps + "/campaign").c_str(), 0755);
    std::vector<RecordEntry> table = scanned();
    ASSERT_EQ(table.size(), 5u);
    EXPECT_EQ(table[0].fileName, "Alpha.slv");
    EXPECT_EQ(table[1].fileName, "alph.slv");
    EXPECT_EQ(table[2].fileName, "alpha.slv");
    EXPECT_EQ(table[3].fileName, "beta.slv");
    EXPECT_EQ(table[4].fileName, "ra-loop.slv");
    EXPECT_EQ(table[0].fileTime, 1700000000);
}

TEST_F(RecordFiles, SortComparesSignedBytes) {
    // A byte above 127 is negative as a signed char and sorts first.
    EXPECT_TRUE(fileNameBefore("\xc3\xa9.slv", "a.slv"));
    EXPECT_TRUE(fileNameBefore("ab", "abc"));
    EXPECT_FALSE(fileNameBefore("abc", "ab"));
}

TEST_F(RecordFiles, EmptyOrMissingFolderGivesNoMaps) {
    EXPECT_TRUE(scanned().empty());
    std::vector<RecordEntry> table(3);
    EXPECT_EQ(scanMaps(temp.file("nowhere"), table), 0);
    EXPECT_TRUE(table.empty());
    EXPECT_EQ(recordTotals(table).averageMs, 0u);
}

TEST_F(RecordFiles, MissingFileGivesDefaultRecords) {
    touchLevel("a.slv");
    std::vector<RecordEntry> table = scanned();
    table[0].recordTime = 5;
    table[0].holder = "Someone";
    table[0].medal = MEDAL_GOLD;
    readHighscores(highscores, table);
    EXPECT_EQ(table[0].recordTime, NO_RECORD_TIME);
    EXPECT_EQ(table[0].holder, "Brannoc");
    EXPECT_EQ(table[0].medal, MEDAL_NONE);
}

TEST_F(RecordFiles, WriteProducesFixedEntriesAndReadsBack) {
    touchLevel("a.slv", 1111);
    touchLevel("b.slv", 2222);
    std::vector<RecordEntry> table = scanned();
    table[1].recordTime = 12345;
    table[1].holder = "Vesna";
    table[1].medal = MEDAL_SILVER;
    ASSERT_EQ(writeHighscores(highscores, table), 0);

    std::vector<uint8_t> bytes;
    ASSERT_TRUE(readWholeFile(highscores, bytes));
    ASSERT_EQ(bytes.size(), 4u + 2 * 108u);
    EXPECT_EQ(bytes[0], 2);
    const uint8_t* second = bytes.data() + 4 + 108;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(second)), "b.slv");
    EXPECT_EQ(second[64] | second[65] << 8, 2222);            // file time
    EXPECT_EQ(second[68] | second[69] << 8 | second[70] << 16, 12345);  // record time
    EXPECT_EQ(second[72], 1);                                  // medal
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(second + 76)), "Vesna");

    std::vector<RecordEntry> reread = scanned();
    readHighscores(highscores, reread);
    EXPECT_EQ(reread[0].recordTime, NO_RECORD_TIME);
    EXPECT_EQ(reread[1].recordTime, 12345u);
    EXPECT_EQ(reread[1].holder, "Vesna");
    EXPECT_EQ(reread[1].medal, MEDAL_SILVER);
}

TEST_F(RecordFiles, EditedLevelLosesItsRecord) {
    touchLevel("a.slv", 1111);
    std::vector<RecordEntry> table = scanned();
    table[0].recordTime = 777;
    ASSERT_EQ(writeHighscores(highscores, table), 0);
    touchLevel("a.slv", 1112);
    table = scanned();
    readHighscores(highscores, table);
    EXPECT_EQ(table[0].recordTime, NO_RECORD_TIME);
    EXPECT_EQ(table[0].holder, "Brannoc");
}

TEST_F(RecordFiles, RecordsSurviveARemovedLevel) {
    touchLevel("a.slv");
    touchLevel("b.slv");
    touchLevel("c.slv");
    std::vector<RecordEntry> table = scanned();
    table[2].recordTime = 4242;
    ASSERT_EQ(writeHighscores(highscores, table), 0);
    std::remove((maps + "/a.slv").c_str());
    table = scanned();
    readHighscores(highscores, table);
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table[1].fileName, "c.slv");
    EXPECT_EQ(table[1].recordTime, 4242u);
}

TEST_F(RecordFiles, DamagedFileIsReadOnlyAsFarAsItGoes) {
    touchLevel("a.slv", 10);
    touchLevel("b.slv", 10);
    std::vector<RecordEntry> table = scanned();
    table[0].recordTime = 100;
    table[1].recordTime = 200;
    ASSERT_EQ(writeHighscores(highscores, table), 0);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(readWholeFile(highscores, bytes));
    bytes[0] = 0xff;  // a count far beyond the file
    bytes.resize(4 + 108 + 50);
    ASSERT_EQ(writeBytesAtomically(highscores, bytes), 0);
    readHighscores(highscores, table);
    EXPECT_EQ(table[0].recordTime, 100u);
    EXPECT_EQ(table[1].recordTime, NO_RECORD_TIME);
}

TEST_F(RecordFiles, UnterminatedFieldsAreCutToTheirSize) {
    std::string longName(64, 'n');
    touchLevel(longName + ".slv", 10);
    std::vector<RecordEntry> table = scanned();
    ASSERT_EQ(table.size(), 1u);
    table[0].recordTime = 321;
    table[0].holder = std::string(40, 'h');
    ASSERT_EQ(writeHighscores(highscores, table), 0);
    readHighscores(highscores, table);
    EXPECT_EQ(table[0].recordTime, 321u);
    EXPECT_EQ(table[0].holder, std::string(31, 'h'));
}

TEST_F(RecordFiles, FailedWriteKeepsTheOldFile) {
    touchLevel("a.slv");
    touchLevel("b.slv");
    std::vector<RecordEntry> table = scanned();
    table[0].recordTime = 900;
    ASSERT_EQ(writeHighscores(highscores, table), 0);
    table[0].recordTime = 100;
    {
        // A disk that fills up after 100 bytes.
        FileSizeLimit full(100);
        EXPECT_EQ(writeHighscores(highscores, table), -1);
    }
    EXPECT_EQ(writeHighscores(temp.file("missing/highscore.hsc"), table), -1);
    EXPECT_EQ(table[0].recordTime, 100u);
    std::vector<RecordEntry> reread = scanned();
    readHighscores(highscores, reread);
    EXPECT_EQ(reread[0].recordTime, 900u);
}

// Record times are signed 32-bit milliseconds; a stored 2^31 or more is no
// time a run can have and reads as no record at all.
TEST_F(RecordFiles, RecordTimeOfTwoToTheThirtyOneOrMoreIsNoRecord) {
    touchLevel("a.slv", 10);
    touchLevel("b.slv", 10);
    touchLevel("c.slv", 10);
    std::vector<RecordEntry> table = scanned();
    table[0].recordTime = 0x7fffffffu;  // the longest time a run can have
    table[0].holder = "Slow";
    table[1].recordTime = 0x80000000u;
    table[1].holder = "Broken";
    table[1].medal = MEDAL_GOLD;
    table[2].recordTime = 0xffffffffu;
    ASSERT_EQ(writeHighscores(highscores, table), 0);
    readHighscores(highscores, table);
    EXPECT_EQ(table[0].recordTime, 0x7fffffffu);
    EXPECT_EQ(table[0].holder, "Slow");
    for (size_t i = 1; i < 3; ++i) {
        EXPECT_EQ(table[i].recordTime, NO_RECORD_TIME) << i;
        EXPECT_EQ(table[i].holder, DEFAULT_HOLDER) << i;
        EXPECT_EQ(table[i].medal, MEDAL_NONE) << i;
    }
    // So a slow run is no new record against it, as against any level
    // without a record.
    EXPECT_FALSE(isNewRecord(1000000, table[1].recordTime));
    EXPECT_TRUE(isNewRecord(999998, table[1].recordTime));
}

TEST(RecordRules, NewRecordIsStrictlyFaster) {
    EXPECT_TRUE(isNewRecord(8999, 9000));
    EXPECT_FALSE(isNewRecord(9000, 9000));
    EXPECT_FALSE(isNewRecord(-1, 9000));  // a clock that ran backwards
    EXPECT_TRUE(isNewRecord(0x7ffffffe, 0x7fffffffu));
}

TEST(RecordRules, MedalsAreAwardedAtOrBelowEachTime) {
    EXPECT_EQ(medalFor(10000, 10000, 20000, 30000), MEDAL_GOLD);
    EXPECT_EQ(medalFor(10001, 10000, 20000, 30000), MEDAL_SILVER);
    EXPECT_EQ(medalFor(20001, 10000, 20000, 30000), MEDAL_BRONZE);
    EXPECT_EQ(medalFor(30001, 10000, 20000, 30000), MEDAL_NONE);
    // A level without medal times awards nothing, not even to a run whose
    // clock never started (a goal reached while waiting at the start).
    EXPECT_EQ(medalFor(1, 0, 0, 0), MEDAL_NONE);
    EXPECT_EQ(medalFor(0, 0, 0, 0), MEDAL_NONE);
    // Only the tiers the level sets count.
    EXPECT_EQ(medalFor(0, 0, 20000, 30000), MEDAL_SILVER);
}

// Beside the clock: the best medal still in reach and the time to beat.
TEST(RecordRules, MedalBesideTheClockIsTheNextOneInReach) {
    const std::pair<int32_t, const char*> cases[] = {
        {26900, "Gold 0:26:90"}, {26901, "Silver 0:33:00"}, {33001, "Bronze 1:00:50"}, {60501, ""}};
    for (const auto& [runMs, text] : cases) EXPECT_EQ(medalTarget(runMs, 26900, 33000, 60500).text, text) << runMs;
    EXPECT_EQ(medalTarget(0, 0, 0, 0).text, "") << "a level without medal times";
}

// Levels without a record show none and stay out of the total and average.
TEST(RecordRules, ListsCountOnlyTheRecordsThatExist) {
    std::vector<RecordEntry> table(3);
    EXPECT_EQ(mapListFooter(table).total + "|" + mapListFooter(table).average, "Total: no records yet|Average: none");
    EXPECT_EQ(mapRowTexts(table[0]).holder + "|" + mapRowTexts(table[0]).time, "|no record");
    table[0].recordTime = 61000;
    table[0].holder = "Ada";
    table[2].recordTime = 1000;
    EXPECT_EQ(mapRowTexts(table[0]).holder + "|" + mapRowTexts(table[0]).time, "Ada| 1: 01: 00");
    const MapListFooter footer = mapListFooter(table);
    EXPECT_EQ(footer.maps + "|" + footer.total + "|" + footer.average,
              "Maps: 3|Total of 2 records:  1: 02: 00|Average:  0: 31: 00");
}

}  // namespace
