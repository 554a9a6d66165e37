#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <unistd.h>

#include "core/globals.h"
#include "frontend/console_history.h"
#include "level/level_file.h"
#include "level/level_text.h"
#include "modes/timeattack/ghost.h"
#include "modes/timeattack/records.h"
#include "replay/counted_runs.h"
#include "replay/level_check.h"
#include "sim/run_timer.h"
#include "support/shipped_levels.h"
#include "support/temp_dir.h"
#include "timeattack_recording.h"

namespace {

constexpr int STEP_MS = 21;  // one physics step at full frame rate

std::string readText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A run on a level built from text, in a private folder.
class TimeAttackLevel : public ::testing::Test {
protected:
    void SetUp() override {
        settings = defaultSettings();
        setProjectionSetter(nullptr);
        ASSERT_TRUE(temp.ok());
        consoleHistory.clear();
    }
    void TearDown() override {
        releaseGhost(ghost);
    }

    void load(const std::string& text, const std::string& name = "level.slv") {
        Level level;
        LevelTextError error;
        bool oldForm = false;
        ASSERT_EQ(parseLevelText(text, level, &error, &oldForm), 0) << error.line << ": " << error.message;
        std::vector<uint8_t> bytes = levelBytes(level, oldForm);
        std::ofstream(temp.file(name), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                              std::streamsize(bytes.size()));
        ASSERT_EQ(run.loadLevel(temp.file(name)), 0);
        run.reset();
    }

    void steps(int count, HeldKeys held = {}) {
        for (int i = 0; i < count; ++i) {
            holdKeys(run, held, previous);
            previous = held;
            run.step();
        }
    }

    TempDir temp{"tavrelo-levels"};
    CountedTimeAttackRun run;
    HeldKeys previous;
};

const char* const STRAIGHT =
    "block plain pos=600,0,0 size=1200,500,3000\n"
    "block GOAL pos=600,0,3000 size=1200,500,2000\n";

TEST_F(TimeAttackLevel, EveryShippedLevelIsFinishedByItsRecording) {
    const std::vector<ShippedLevel> levels = shippedLevelsWithPrefix("");
    ASSERT_GE(levels.size(), 5u);
    for (const ShippedLevel& shipped : levels) {
        SCOPED_TRACE(shipped.relative);
        load(readText(shipped.textPath), shipped.name + ".slv");
        std::vector<HeldKeys> recording = readRecording(shipped.keysPath);
        ASSERT_FALSE(recording.empty()) << "no recording beside the level";
        previous = HeldKeys();
        run.deaths = DeathCount();
        ReplayResult result = replayRecording(run, recording);
        EXPECT_TRUE(result.finished);
        EXPECT_EQ(result.deaths, 0);
        EXPECT_EQ(run.deaths.total(), 0) << describeDeaths(run.deaths);
        // Sensible medal times: ordered, and the recorded run earns one.
        const Level& level = run.level;
        EXPECT_GT(level.goldTime, 0);
        EXPECT_LE(level.goldTime, level.silverTime);
        EXPECT_LE(level.silverTime, level.bronzeTime);
        EXPECT_LE(result.steps * STEP_MS, level.bronzeTime);
        EXPECT_GE(result.steps * STEP_MS, level.goldTime / 2) << "gold is too easy";
    }
}

TEST_F(TimeAttackLevel, ShippedLevelsUseEveryBlockTypeMotionAndATriggerChain) {
    std::set<int> types;
    bool moving = false, chain = false;
    for (const ShippedLevel& shipped : shippedLevelsWithPrefix("")) {
        Level level;
        ASSERT_EQ(parseLevelText(readText(shipped.textPath), level, nullptr), 0) << shipped.relative;
        for (const Block& block : level.blocks) {
            types.insert(block.type);
            const BlockBody& body = block.body;
            if (body.pointX != 0 && body.has(FLAG_MOVE) && movePeriodOf(body.flags) > 0) moving = true;
            if (body.has(FLAG_TOUCH_TRIGGER) && body.has(FLAG_HAS_TARGET)) {
                const BlockBody& target = level.blocks.at(size_t(targetOf(body.flags))).body;
                if (target.has(FLAG_HAS_TARGET)) chain = true;
            }
        }
    }
    for (int type = 0; type < BLOCK_TYPE_COUNT; ++type) EXPECT_TRUE(types.count(type)) << "type " << type;
    EXPECT_TRUE(moving);
    EXPECT_TRUE(chain);
}

// Every level the game ships, in campaign folders too, parses and has a
// readable replay proof; one whose name claims a mode of its own is left to
// that mode's replay, named here so nothing is silently skipped.
TEST(ShippedLevels, EveryLevelParsesAndHasItsReplayProof) {
    const std::vector<ShippedLevel> levels = findShippedLevels();
    ASSERT_GE(levels.size(), 5u);
    for (const ShippedLevel& shipped : levels) {
        SCOPED_TRACE(shipped.relative);
        Level level;
        LevelTextError error;
        EXPECT_EQ(parseLevelText(readText(shipped.textPath), level, &error), 0) << error.line << ": " << error.message;
        EXPECT_FALSE(readRecording(shipped.keysPath).empty()) << "no readable " << shipped.keysPath;
        if (const LevelProofRoute* route = proofRouteFor(shipped.name))
            std::printf("%s: proved by %s\n", shipped.relative.c_str(), route->provedBy.c_str());
    }
    EXPECT_EQ(orphanProofs(), std::vector<std::string>()) << "a .keys without its <name>.slv.txt";
}

TEST(ShippedLevels, AModePrefixRoutesItsLevelsAwayFromTimeAttack) {
    ASSERT_NE(proofRouteFor("s-01-hello"), nullptr);
    EXPECT_EQ(proofRouteFor("s-01-hello")->prefix, "s-");
    ASSERT_NE(proofRouteFor("ca-keep"), nullptr);
    EXPECT_EQ(proofRouteFor("ca-keep")->prefix, "ca-");
    EXPECT_EQ(proofRouteFor("first-steps"), nullptr);
    EXPECT_EQ(proofRouteFor("sea-s-"), nullptr);  // only the start of the name counts
    for (const ShippedLevel& shipped : shippedLevelsWithPrefix("")) EXPECT_EQ(proofRouteFor(shipped.name), nullptr);
}

TEST_F(TimeAttackLevel, JumpAloneHopsWithoutStartingTheTimer) {
    load(STRAIGHT);
    run.pressJump();
    EXPECT_EQ(run.craft.v_speed, 125);
    steps(40);
    EXPECT_EQ(run.craft.phase, 0);
    EXPECT_EQ(run.craft.timeMs, 0);
    run.startTimer();
    steps(3);
    EXPECT_EQ(run.craft.phase, 2);
    EXPECT_EQ(run.craft.timeMs, 3 * STEP_MS) << "the clock counts the time of the running steps";
}

TEST_F(TimeAttackLevel, NoJumpBlockRefusesTheJumpKey) {
    load("block NOJUMP pos=600,0,0 size=1200,500,3000\n");
    steps(1);
    run.pressJump();
    EXPECT_EQ(run.craft.v_speed, 0);
}

TEST_F(TimeAttackLevel, FallRestartsWithAConsoleLine) {
    load("block plain pos=600,0,0 size=1200,500,1000\n");
    HeldKeys forward;
    forward.forward = true;
    steps(3, forward);
    ASSERT_EQ(run.craft.phase, 2);
    // 1:05.432 on the clock, in whole seconds so that each call carries once,
    // and the craft falling.
    for (int i = 0; i < 65; ++i) addRunTime(run.craft, 1000);
    addRunTime(run.craft, 432 - run.craft.timeMs % 1000);
    run.craft.v_speed = FALL_SPEED - 1;
    steps(1, forward);
    ASSERT_EQ(consoleHistory.lineCount(), 1);
    EXPECT_STREQ(consoleHistory.line(0), "Died after  1:05:43") << "minutes padded to two places";
    EXPECT_LT(run.craft.z, 5000) << "back near the start";
}

TEST_F(TimeAttackLevel, HealthRunOutRestartsSilently) {
    load("block HURT pos=600,0,0 size=1200,500,3000\n");
    steps(33);
    EXPECT_EQ(run.craft.health, 1);
    steps(1);
    EXPECT_EQ(run.craft.health, 100);
    EXPECT_EQ(consoleHistory.lineCount(), 0);
}

TEST_F(TimeAttackLevel, GoalSetsTheRecordFlagOnlyBelowTheRecord) {
    load(STRAIGHT);
    HeldKeys forward;
    forward.forward = true;
    run.recordTimeMs = 100;
    run.craft.phase = 2;
    run.craft.timeMs = 100;
    for (int i = 0; i < 200 && !run.goalReached; ++i) {
        holdKeys(run, forward, previous);
        previous = forward;
        run.step();
        run.craft.timeMs = 100;  // keep the clock on the record
    }
    ASSERT_TRUE(run.goalReached);
    EXPECT_FALSE(run.craft.finished) << "equal to the record is no new record";

    run.reset();
    run.recordTimeMs = NO_RECORD_TIME;
    previous = HeldKeys();
    ReplayResult result = replayRecording(run, std::vector<HeldKeys>(200, forward));
    ASSERT_TRUE(result.finished);
    EXPECT_TRUE(run.craft.finished);
}

TEST_F(TimeAttackLevel, GoalUnderTheStartFinishesWithoutAMedal) {
    load("form old\nblock GOAL pos=600,0,0 size=1200,500,3000\n");
    steps(1);
    ASSERT_TRUE(run.goalReached) << "the goal counts even before the clock starts";
    EXPECT_EQ(run.craft.timeMs, 0);
    EXPECT_TRUE(run.craft.finished);
    EXPECT_EQ(medalFor(runTimeOf(run.craft), run.level.goldTime, run.level.silverTime, run.level.bronzeTime),
              MEDAL_NONE);
}

TEST_F(TimeAttackLevel, LevelWithoutMedalHeaderHasNoMedalTimes) {
    load("form old\n" + std::string(STRAIGHT));
    EXPECT_EQ(run.level.blockCount(), 2);
    EXPECT_EQ(run.level.goldTime, 0);
    EXPECT_EQ(run.level.bronzeTime, 0);
}

TEST_F(TimeAttackLevel, MissingLevelIsRefusedAndReleasesTheOldOne) {
    load(STRAIGHT);
    testing::internal::CaptureStderr();
    EXPECT_EQ(run.loadLevel(temp.file("nothing.slv")), -1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Level not found.\n");
    EXPECT_FALSE(run.hasLevel());
}

TEST_F(TimeAttackLevel, SavedRecordRunIsTheNextRunsGhost) {
    load(STRAIGHT);
    HeldKeys forward;
    forward.forward = true;
    ReplayResult result = replayRecording(run, std::vector<HeldKeys>(200, forward));
    ASSERT_TRUE(result.finished);
    ASSERT_EQ(saveGhost(ghost, run.levelPath), 0);
    run.recordTimeMs = uint32_t(result.steps * STEP_MS);  // the record this run set
    run.reset();
    ASSERT_TRUE(ghost.loaded);
    EXPECT_EQ(int(ghost.samples.size()), result.steps / GHOST_STEPS_PER_SAMPLE + 1);
    previous = HeldKeys();
    steps(13, forward);
    // Thirteen steps in, the ghost drives where this identical run drives
    // (the sample grid lags by a step: it was sampled after moving).
    EXPECT_NEAR(ghost.position.z, run.craft.z, 400);
    EXPECT_GT(ghost.position.z, 500);

    // Beside a record far faster than that run (the file is stale), the
    // run's own restart races no ghost.
    run.recordTimeMs /= 2;
    run.reset();
    EXPECT_FALSE(ghost.loaded);
}

}  // namespace
