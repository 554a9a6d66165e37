#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

#include "core/byte_io.h"
#include "modes/timeattack/ghost.h"
#include "modes/timeattack/records_file.h"
#include "support/temp_dir.h"

namespace {

TEST(GhostPath, ReplacesFromTheFirstDot) {
    EXPECT_EQ(ghostPathFor("maps/x.slv"), "maps/x.gho");
    EXPECT_EQ(ghostPathFor("maps/a.b.slv"), "maps/a.gho");
    EXPECT_EQ(ghostPathFor("maps/noext"), "");
}

class GhostRun : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temp.ok());
        level = temp.file("track.slv");
        craft.x = 10;
        craft.ypos = 20;
        craft.z = 30;
        startRecording(g, craft);
    }
    // One physics step of a running craft moving 60 along z.
    void step() {
        g.stepCounter += 1;
        craft.z += 60;
        recordAndReplay(g, craft, 2);
    }

    void writeGhostFile(int32_t count, int samples) {
        ByteWriter writer;
        writer.writeInt32(count);
        for (int k = 0; k < samples; ++k) {
            writer.writeInt32(k * 100);
            writer.writeInt32(0);
            writer.writeInt32(k * 600);
        }
        ASSERT_EQ(writeBytesAtomically(temp.file("track.gho"), writer.bytes()), 0);
    }

    TempDir temp{"tavrelo-ghost"};
    std::string level;
    Craft craft;
    Ghost g;
};

TEST_F(GhostRun, RecordsEverySixthStep) {
    EXPECT_EQ(g.recording.size(), 250u);
    EXPECT_EQ(g.recording[0].z, 30);
    for (int i = 0; i < 5; ++i) step();
    EXPECT_EQ(g.sampleIndex, 0);
    step();
    EXPECT_EQ(g.sampleIndex, 1);
    EXPECT_EQ(g.recording[1].z, 30 + 6 * 60);
    EXPECT_EQ(g.stepCounter, 0);
}

TEST_F(GhostRun, NothingIsRecordedWhileWaiting) {
    for (int i = 0; i < 12; ++i) {
        g.stepCounter += 1;
        recordAndReplay(g, craft, 0);
    }
    EXPECT_EQ(g.sampleIndex, 0);
}

TEST_F(GhostRun, CapacityGrowsBy750UpTo7750) {
    for (int i = 0; i < 250 * 6; ++i) step();
    EXPECT_EQ(g.sampleIndex, 250);
    EXPECT_EQ(g.recording.size(), 1000u);
    EXPECT_EQ(g.recording[250].z, 30 + 250 * 360);
    for (int i = 0; i < 8000 * 6; ++i) step();
    EXPECT_EQ(g.recording.size(), 7750u);
    ASSERT_EQ(saveGhost(g, level), 0);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(readWholeFile(temp.file("track.gho"), bytes));
    EXPECT_EQ(bytes.size(), 4u + 12u * 7750u);
}

TEST_F(GhostRun, SavedRunReplaysWithInterpolation) {
    for (int i = 0; i < 6 * 3; ++i) step();
    ASSERT_EQ(saveGhost(g, level), 0);
    Ghost replay;
    loadGhost(replay, level);
    ASSERT_TRUE(replay.loaded);
    ASSERT_EQ(replay.samples.size(), 4u);
    EXPECT_EQ(replay.samples[3].z, 30 + 18 * 60);

    Craft again;
    startRecording(replay, again);
    recordAndReplay(replay, again, 0);
    EXPECT_EQ(replay.position.z, 30);  // held at sample 0 before the start
    replay.stepCounter = 0;
    for (int i = 0; i < 4; ++i) {
        replay.stepCounter += 1;
        recordAndReplay(replay, again, 2);
    }
    // Four of six steps between samples 0 and 1: 30 + 4/6 of 360.
    EXPECT_EQ(replay.position.z, 30 + 240);
    EXPECT_EQ(replay.previousPosition.z, 30 + 180);
}

TEST_F(GhostRun, InterpolationTruncatesTowardZero) {
    writeGhostFile(2, 2);
    loadGhost(g, level);
    ASSERT_TRUE(g.loaded);
    g.samples[1] = {-100, 7, -5};
    g.stepCounter = 1;
    recordAndReplay(g, craft, 2);
    EXPECT_EQ(g.position.x, -16);  // -100 / 6 = -16.67
    EXPECT_EQ(g.position.y, 1);
    EXPECT_EQ(g.position.z, 0);
}

TEST_F(GhostRun, ShortGhostStopsAtItsLastPosition) {
    writeGhostFile(2, 2);
    loadGhost(g, level);
    startRecording(g, craft);
    for (int i = 0; i < 30; ++i) step();
    EXPECT_EQ(g.position.z, 600);
    EXPECT_EQ(g.position.x, 100);
}

TEST_F(GhostRun, FileWhoseCountDoesNotFitIsIgnored) {
    writeGhostFile(5, 3);
    loadGhost(g, level);
    EXPECT_FALSE(g.loaded);
    writeGhostFile(-1, 0);
    loadGhost(g, level);
    EXPECT_FALSE(g.loaded);
    writeGhostFile(0, 0);
    loadGhost(g, level);
    EXPECT_FALSE(g.loaded);
    writeGhostFile(3, 3);
    loadGhost(g, level);
    EXPECT_TRUE(g.loaded);
    unlink(temp.file("track.gho").c_str());
    loadGhost(g, level);
    EXPECT_FALSE(g.loaded);
}

// A ghost is only shown beside the record whose run it can be: a record
// must exist, and 21 ms a step (six steps a sample) must fit its time.
TEST_F(GhostRun, OnlyAGhostThatCanBeTheRecordsRunIsLoaded) {
    writeGhostFile(101, 101);  // 100 samples after the start: at least 12.6 s
    struct Case {
        uint32_t recordMs;
        bool loaded;
    } cases[] = {
        {12600, true}, {12474, true}, {12473, false}, {1000, false}, {NO_RECORD_TIME, false}, {NO_RECORD_TIME - 1, true},
    };
    for (const Case& c : cases) {
        loadGhostOfRecord(g, level, c.recordMs);
        EXPECT_EQ(g.loaded, c.loaded) << c.recordMs;
        EXPECT_EQ(g.samples.size(), c.loaded ? 101u : 0u) << c.recordMs;
    }
}

TEST_F(GhostRun, ReleaseDropsEverything) {
    writeGhostFile(3, 3);
    loadGhost(g, level);
    releaseGhost(g);
    EXPECT_FALSE(g.loaded);
    EXPECT_TRUE(g.samples.empty());
    EXPECT_TRUE(g.recording.empty());
    EXPECT_EQ(saveGhost(g, level), -1);
}

}  // namespace
