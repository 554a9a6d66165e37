#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/settings.h"
#include "replay/level_check.h"
#include "replay/level_source.h"
#include "replay/search_sims.h"
#include "support/temp_dir.h"

namespace {

// A gap only a jump crosses, on a lane wide enough for two racing crafts.
const char* const JUMP_GAP =
    "medals 5000 6000 7000\n"
    "block plain pos=1200,0,0 size=2400,500,8000\n"
    "block plain pos=1200,0,10000 size=2400,500,6000\n"
    "block GOAL pos=1200,0,16000 size=2400,500,2000\n";
// The castles' middle is a step up that only a jump climbs.
const char* const STEP_CASTLE =
    "block plain pos=800,0,0 size=1600,500,3000\n"
    "block GOAL pos=800,0,3000 size=1600,500,1000\n"
    "block plain pos=800,0,4000 size=1600,500,3000\n"
    "block plain pos=800,400,7000 size=1600,900,3000\n";
// No craft jumps 7000.
const char* const TOO_WIDE = "block plain pos=600,0,0 size=1200,500,2000\nblock GOAL pos=600,0,9000 size=1200,500,2000\n";

// The lane splits in two with a gap between; only one lane leads on to the
// goal, the other ends in the void further on than a short look ahead sees.
std::string fork(bool goalOnTheLeft) {
    return std::string("medals 9000 9500 9900\n"
                       "block plain pos=1200,0,0 size=2400,500,6000\n"
                       "block plain pos=1200,0,6000 size=700,500,20000\n"
                       "block plain pos=-500,0,6000 size=700,500,20000\n") +
           (goalOnTheLeft ? "block GOAL pos=1200,0,26000 size=700,500,2000\n"
                          : "block GOAL pos=-500,0,26000 size=700,500,2000\n");
}

class LevelRecorder : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temp.ok());
        saved = settings;
        settings = defaultSettings();
        settings.sounds = 0;
        options.verbose = false;
        options.ahead = 100;  // enough for these short levels, and quicker
    }
    void TearDown() override { settings = saved; }

    // Records the level and checks what was found, as the tool does.
    LevelReport recordAndCheck(const std::string& name, const std::string& text,
                               const std::vector<HeldKeys>& prefix = {}) {
        temp.write(name + ".slv.txt", text);
        Level level;
        std::string error;
        EXPECT_TRUE(loadLevelSource(temp.file(name + ".slv.txt"), level, error)) << error;
        found = recordLevel(level, levelModeOf(name), prefix, options);
        return checkLevelWithProof(temp.file(name + ".slv.txt"), name, found.keys);
    }

    TempDir temp{"tavrelo-record"};
    Settings saved;
    SearchOptions options;
    RecordResult found;
};

TEST_F(LevelRecorder, FindsAProofTheCheckAcceptsInEveryMode) {
    for (const char* name : {"s-gap", "gap", "ra-gap"}) {
        SCOPED_TRACE(name);
        const LevelReport report = recordAndCheck(name, JUMP_GAP);
        EXPECT_TRUE(found.reached);
        EXPECT_EQ(report.proofFaults(), std::vector<std::string>());
        EXPECT_EQ(report.naive.result, NaiveRun::LostLife) << "the gap wants the jump";
    }
    const LevelReport castle = recordAndCheck("ca-step", STEP_CASTLE);
    EXPECT_TRUE(found.reached);
    EXPECT_TRUE(castle.castle.proofWins());
}

// Without backing out of dead ends the search takes the lane it meets
// first, and on one of the two forks that is the wrong one.
TEST_F(LevelRecorder, ADeadEndBeyondTheLookAheadIsBackedOutOf) {
    options.ahead = 20;
    options.stallSteps = 200;
    options.maxSteps = 2000;
    int greedyFinishes = 0;
    for (bool left : {true, false}) {
        SCOPED_TRACE(left ? "goal on the left" : "goal on the right");
        options.maxBacktracks = 0;
        recordAndCheck("fork", fork(left));
        greedyFinishes += found.reached ? 1 : 0;
        options.maxBacktracks = 50;
        const LevelReport report = recordAndCheck("fork", fork(left));
        EXPECT_TRUE(found.reached);
        EXPECT_FALSE(report.proofBroken()) << report.proofFaults().front();
    }
    EXPECT_EQ(greedyFinishes, 1) << "the trap catches a search that never goes back";
}

TEST_F(LevelRecorder, KeepsTheHintedPrefixAndSearchesOnFromIt) {
    std::vector<HeldKeys> prefix(40, HeldKeys());  // waiting at the start
    prefix.insert(prefix.end(), 10, forwardOnly());
    const LevelReport report = recordAndCheck("s-gap", JUMP_GAP, prefix);
    ASSERT_TRUE(found.reached);
    ASSERT_GT(found.keys.size(), prefix.size());
    for (size_t i = 0; i < prefix.size(); ++i) EXPECT_TRUE(sameKeys(found.keys[i], prefix[i])) << "step " << i;
    EXPECT_FALSE(report.proofBroken());
}

TEST_F(LevelRecorder, AHintThatLosesALifeStopsTheSearchWhereItLoses) {
    const std::vector<HeldKeys> prefix(200, forwardOnly());  // into the gap
    recordAndCheck("gap", JUMP_GAP, prefix);
    EXPECT_FALSE(found.reached);
    EXPECT_LT(found.keys.size(), prefix.size());
}

TEST_F(LevelRecorder, AnImpossibleLevelEndsWithWhatWasFound) {
    options.maxBacktracks = 5;
    options.ahead = 40;
    options.maxSteps = 400;
    options.stallSteps = 60;
    const LevelReport report = recordAndCheck("s-wide", TOO_WIDE);
    EXPECT_FALSE(found.reached);
    EXPECT_GT(found.deadEnds, 0);
    EXPECT_FALSE(found.keys.empty()) << "kept for --keep";
    EXPECT_TRUE(report.proofBroken());
}

}  // namespace
