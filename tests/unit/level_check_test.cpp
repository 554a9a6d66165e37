#include <gtest/gtest.h>

#include <sys/stat.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/services.h"
#include "core/settings.h"
#include "level/level_file.h"
#include "replay/counted_runs.h"
#include "replay/level_check.h"
#include "replay/level_source.h"
#include "replay/replay_clock.h"
#include "support/temp_dir.h"

namespace {

// A wide floor with a tall wall on its left half: steering left into it is
// a crash, straight on reaches the goal. No checkpoint anywhere.
const char* const WALL_ON_THE_LEFT =
    "block plain pos=1200,0,0 size=2400,500,8000\n"
    "block plain pos=1200,1000,3000 size=800,1500,1000\n"
    "block GOAL pos=1200,0,8000 size=2400,500,1000\n";
// Into the wall, then (back at the start) straight on to the goal.
const char* const CRASH_THEN_FINISH = "5 FL\n400 F\n";

// The wide pong court of the first campaign: holding forward flies onto it
// and lets the ball past, then drives on to the goal.
const char* const COURT =
    "block plain pos=600,0,0 size=1200,500,3000\n"
    "block plain pos=600,0,3000 size=1200,500,4000\n"
    "block plain pos=1800,-100,7400 size=3600,400,9000 point=50,16000,1 flags=PONG\n"
    "block plain pos=600,-100,16400 size=1200,500,5000\n"
    "block GOAL pos=600,-100,21400 size=1200,500,2000\n";

const char* const STRAIGHT =
    "medals 3000 4000 5000\n"
    "block plain pos=1200,0,0 size=2400,500,6000\n"
    "block GOAL pos=1200,0,6000 size=2400,500,2000\n";
const char* const BURNING = "block HURT pos=600,0,0 size=1200,500,30000\nblock GOAL pos=600,0,30000 size=1200,500,2000\n";
const char* const GAP = "block plain pos=600,0,0 size=1200,500,2000\nblock GOAL pos=600,0,9000 size=1200,500,2000\n";
// Longer than forward can drive in the naive player's steps.
const char* const ENDLESS = "block plain pos=1200,0,0 size=2400,500,9500000\n";

// The castles' middle is a step up that only a jump climbs.
const char* const STEP_CASTLE =
    "block plain pos=800,0,0 size=1600,500,3000\n"
    "block GOAL pos=800,0,3000 size=1600,500,1000\n"
    "block plain pos=800,0,4000 size=1600,500,3000\n"
    "block plain pos=800,400,7000 size=1600,900,3000\n";
const char* const FLAT_CASTLE =
    "block plain pos=800,0,0 size=1600,500,3000\n"
    "block GOAL pos=800,0,3000 size=1600,500,1000\n"
    "block plain pos=800,0,4000 size=1600,500,6000\n";

class LevelCheck : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(temp.ok()); }
    // Writes NAME.slv.txt and, unless empty, its proof NAME.keys; checks it.
    LevelReport check(const std::string& name, const std::string& level, const std::string& keys) {
        temp.write(name + ".slv.txt", level);
        if (!keys.empty()) temp.write(name + ".keys", keys);
        return checkLevel(temp.file(name + ".slv.txt"), name);
    }

    TempDir temp{"tavrelo-level-check"};
};

// Before the first checkpoint a crash restarts the level with the life given
// back, and the single-player step goes on after it: the step's outcome and
// the lives both miss it. The counted run sees it.
TEST_F(LevelCheck, ACrashBeforeTheFirstCheckpointIsSeenThoughNoLifeIsLost) {
    temp.write("s-wall.slv.txt", WALL_ON_THE_LEFT);
    Settings saved = settings;
    settings.sounds = 0;
    CountedSingleRun run;
    std::string error;
    ASSERT_TRUE(loadLevelSource(temp.file("s-wall.slv.txt"), run.level, error)) << error;
    startReplayServices();
    run.start();
    run.deaths = DeathCount();
    const ReplayResult result = replayRecording(run, parseRecording(CRASH_THEN_FINISH));
    setTickSource(nullptr);
    settings = saved;
    EXPECT_TRUE(result.finished);
    EXPECT_EQ(result.deaths, 0) << "no step ended in a death";
    EXPECT_EQ(run.spareLives(), 5) << "no life lost";
    EXPECT_EQ(run.deaths.crashes, 1);

    const LevelReport report = check("s-wall", WALL_ON_THE_LEFT, CRASH_THEN_FINISH);
    EXPECT_TRUE(report.proof.finished);
    EXPECT_EQ(report.proof.deaths.crashes, 1);
    EXPECT_EQ(report.proof.livesEnd, report.proof.livesStart);
    ASSERT_TRUE(report.proofBroken());
    EXPECT_EQ(report.proofFaults()[0], "proof dies: 1 crash");
}

TEST_F(LevelCheck, ProofDeathsAreCountedByCause) {
    struct Case {
        const char* name;
        const char* level;
        const char* keys;
        int DeathCount::*cause;
    };
    const Case cases[] = {
        {"s-court", COURT, "3000 F\n", &DeathCount::pongLosses},
        {"s-wall", WALL_ON_THE_LEFT, CRASH_THEN_FINISH, &DeathCount::crashes},
        {"burning", BURNING, "200 F\n", &DeathCount::health},
        {"gap", GAP, "200 F\n", &DeathCount::falls},
        {"s-gap", GAP, "200 F\n", &DeathCount::falls},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.name);
        const LevelReport report = check(each.name, each.level, each.keys);
        EXPECT_GE(report.proof.deaths.*each.cause, 1);
        EXPECT_EQ(report.proof.deaths.total(), report.proof.deaths.*each.cause) << "no other cause";
        EXPECT_TRUE(report.proofBroken());
    }
    const LevelReport court = check("s-court", COURT, "3000 F\n");
    EXPECT_TRUE(court.proof.finished) << "a lost ball costs a life, not the run";
    EXPECT_LT(court.proof.standingSteps, 20) << "a pong game holds the craft at speed 0, but it is play";
    EXPECT_EQ(court.proof.livesEnd, court.proof.livesStart - 1);
    EXPECT_EQ(court.pongCourts, 1);
    EXPECT_EQ(court.proof.pongGames, 1);
}

TEST_F(LevelCheck, ACleanProofIsMeasured) {
    const LevelReport report = check("first", STRAIGHT, "40 -\n300 F\n");
    EXPECT_EQ(report.mode, LevelMode::TimeAttack);
    EXPECT_EQ(report.blocks, 2);
    EXPECT_EQ(report.length, 8000);
    EXPECT_EQ(report.goldMs, 3000);
    EXPECT_TRUE(report.proof.finished);
    EXPECT_GT(report.proof.steps, 10);
    EXPECT_LT(report.proof.steps, 300) << "counted to the goal, not to the end of the keys";
    EXPECT_EQ(report.proofTimeMs(), report.proof.steps * 21);
    EXPECT_EQ(report.proof.standingSteps, 40 + 5) << "waiting, then forward speed 4 to 20";
    EXPECT_FALSE(report.proofBroken());
    EXPECT_EQ(report.naive.result, NaiveRun::FinishedClean);
    EXPECT_EQ(report.naive.step, report.proof.steps - 40) << "the same keys, without the wait";
}

TEST_F(LevelCheck, AMissingOrUnfinishedProofIsBroken) {
    const LevelReport missing = check("lonely", STRAIGHT, "");
    ASSERT_TRUE(missing.proofBroken());
    EXPECT_EQ(missing.proofFaults()[0], "no readable proof lonely.keys beside the level");
    const LevelReport unfinished = check("short", STRAIGHT, "5 F\n");
    ASSERT_TRUE(unfinished.proofBroken());
    EXPECT_EQ(unfinished.proofFaults()[0], "proof does not finish in its 5 steps");
    const LevelReport damaged = check("damaged", "block plain pos=1,2\n", "5 F\n");
    EXPECT_NE(damaged.error, "");
    EXPECT_TRUE(damaged.proofBroken());
}

TEST_F(LevelCheck, TheNaivePlayerFinishesLosesALifeOrNeverArrives) {
    struct Case {
        const char* name;
        const char* level;
        NaiveRun::Result result;
    };
    const Case cases[] = {
        {"straight", STRAIGHT, NaiveRun::FinishedClean},
        {"s-straight", STRAIGHT, NaiveRun::FinishedClean},
        {"gap", GAP, NaiveRun::LostLife},
        {"s-wall", WALL_ON_THE_LEFT, NaiveRun::FinishedClean},
        {"s-court", COURT, NaiveRun::LostLife},
        {"endless", ENDLESS, NaiveRun::DidNotFinish},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.name);
        const LevelReport report = check(each.name, each.level, "1 F\n");
        EXPECT_EQ(report.naive.result, each.result);
        EXPECT_GT(report.naive.step, 0);
    }
    EXPECT_EQ(check("endless", ENDLESS, "").naive.step, NAIVE_STEP_LIMIT);
}

TEST_F(LevelCheck, RaceMapsAreDrivenByForwardAloneForThreeLaps) {
    const LevelReport straight = check("ra-straight", STRAIGHT, "400 F\n");
    EXPECT_EQ(straight.mode, LevelMode::Race);
    EXPECT_TRUE(straight.race.proofScoresForBoth);
    EXPECT_FALSE(straight.race.forwardLosesALife());
    EXPECT_EQ(straight.race.laps[0], RACE_CHECK_LAPS);
    EXPECT_EQ(straight.race.laps[1], RACE_CHECK_LAPS);
    EXPECT_FALSE(straight.proofBroken());

    const LevelReport gap = check("ra-gap", GAP, "400 F\n");
    EXPECT_TRUE(gap.race.forwardLosesALife());
    EXPECT_EQ(gap.race.lifeLostLap[0], 1);
    EXPECT_GT(gap.race.lifeLostStep[1], 0);
    EXPECT_FALSE(gap.race.proofScoresForBoth);
    EXPECT_TRUE(gap.proofBroken());
}

TEST_F(LevelCheck, CastleMapsWantAnAttackThatNoSingleKeyMakes) {
    const LevelReport step = check("ca-step", STEP_CASTLE, "30 F\n3 FJ\n600 F\n");
    EXPECT_EQ(step.mode, LevelMode::Castle);
    EXPECT_EQ(step.castle.hits, CASTLE_CHECK_LIVES);
    EXPECT_TRUE(step.castle.won);
    EXPECT_FALSE(step.proofBroken());
    EXPECT_TRUE(step.castle.singleKeyScores.empty());

    const LevelReport flat = check("ca-flat", FLAT_CASTLE, "600 F\n");
    EXPECT_FALSE(flat.proofBroken());
    ASSERT_EQ(flat.castle.singleKeyScores.size(), 2u) << "forward alone, for each craft";
    EXPECT_EQ(flat.castle.singleKeyScores[0].player, 0);
    EXPECT_EQ(flat.castle.singleKeyScores[0].key, 'F');
    EXPECT_EQ(flat.castle.singleKeyScores[1].player, 1);
    EXPECT_EQ(flat.naive.result, NaiveRun::FinishedClean);

    const LevelReport noCastles = check("ca-plain", "block plain pos=800,0,0 size=1600,500,3000\n", "");
    EXPECT_EQ(noCastles.error, "no castle goal blocks: not a castle map");
    EXPECT_TRUE(noCastles.proofBroken());

    const LevelReport stuck = check("ca-stuck", STEP_CASTLE, "600 F\n");
    ASSERT_TRUE(stuck.proofBroken());
    EXPECT_GE(stuck.castle.deaths.crashes, 1);

    EXPECT_EQ(check("ca-miss", FLAT_CASTLE, "600 -\n").proofFaults(),
              std::vector<std::string>{"castle proof lands 0 of 5 attacks: attack 1 misses (no deaths, own castle lost 0)"});
}

// Each count stands under the heading of its cause.
TEST_F(LevelCheck, TheTableNamesEachColumnsCause) {
    LevelReport report = check("gap", GAP, "200 F\n");
    report.proof.deaths = {1, 2, 3, 4};
    std::istringstream header(checkTableHeader()), row(checkTableRow(report));
    std::string cells;
    for (std::string name, value; header >> name && row >> value;) cells += name + "=" + value + " ";
    EXPECT_NE(cells.find(" falls=1 crash=2 health=3 pong=4 "), std::string::npos) << cells;
}

TEST_F(LevelCheck, FoldersAreSearchedAndATextWinsOverItsBuiltLevel) {
    ASSERT_EQ(mkdir(temp.file("camp").c_str(), 0755), 0);
    for (const char* name : {"camp/s-01-a.slv.txt", "camp/s-01-a.slv", "b.slv", "notes.txt", "camp/s-01-a.keys"})
        temp.write(name, "");
    const std::vector<LevelFile> files = findLevelFiles({temp.path() + "/"});
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].path, temp.file("b.slv"));
    EXPECT_EQ(files[0].label, "b");
    EXPECT_EQ(files[1].path, temp.file("camp/s-01-a.slv.txt"));
    EXPECT_EQ(files[1].label, "camp/s-01-a");
    const std::vector<LevelFile> named = findLevelFiles({temp.file("camp/s-01-a.slv")});
    ASSERT_EQ(named.size(), 1u);
    EXPECT_EQ(named[0].label, "s-01-a");
    EXPECT_EQ(proofPathFor(temp.file("camp/s-01-a.slv")), temp.file("camp/s-01-a.keys"));
    EXPECT_EQ(proofPathFor(temp.file("camp/s-01-a.slv.txt")), temp.file("camp/s-01-a.keys"));
}

TEST_F(LevelCheck, ABuiltLevelIsCheckedLikeItsText) {
    temp.write("first.slv.txt", STRAIGHT);
    Level level;
    std::string error;
    ASSERT_TRUE(loadLevelSource(temp.file("first.slv.txt"), level, error)) << error;
    const std::vector<uint8_t> bytes = levelBytes(level);
    temp.write("first.slv", std::string(bytes.begin(), bytes.end()));
    temp.write("first.keys", "300 F\n");
    const LevelReport text = checkLevel(temp.file("first.slv.txt"), "first");
    const LevelReport built = checkLevel(temp.file("first.slv"), "first");
    EXPECT_EQ(built.error, "");
    EXPECT_EQ(built.proof.steps, text.proof.steps);
    EXPECT_EQ(built.goldMs, 3000);
}

}  // namespace
