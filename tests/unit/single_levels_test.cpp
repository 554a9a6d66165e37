#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "core/settings.h"
#include "level/level_text.h"
#include "modes/single/campaign.h"
#include "replay/counted_runs.h"
#include "replay/level_check.h"
#include "replay/level_source.h"
#include "support/shipped_levels.h"
#include "support/single_replay.h"
#include "sim/view_angle.h"

namespace {

std::string sourceDir() {
    const char* dir = std::getenv("TAVRELO_SOURCE_DIR");
    return dir ? dir : ".";
}

std::string readText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The campaign folder a shipped level lies in ("" at the top of maps/).
std::string campaignOf(const ShippedLevel& level) {
    const size_t slash = level.relative.find('/');
    return slash == std::string::npos ? "" : level.relative.substr(0, slash);
}

class ShippedCampaigns : public ::testing::Test {
protected:
    void SetUp() override {
        saved = settings;
        settings = defaultSettings();
        settings.sounds = 0;
        setProjectionSetter(nullptr);
    }
    void TearDown() override {
        setTickSource(nullptr);
        settings = saved;
    }
    Settings saved;
};

TEST_F(ShippedCampaigns, EveryLevelIsFinishedByItsRecordingWithoutLosingALife) {
    std::vector<ShippedLevel> levels = shippedLevelsWithPrefix("s-");
    ASSERT_GE(levels.size(), 15u);
    for (const ShippedLevel& level : levels) {
        SCOPED_TRACE(level.relative);
        // Every death counts: a crash before the first checkpoint gives the
        // life back and goes on with its step, and a lost pong ball is no
        // step that dies, so neither the outcome nor the lives would show them.
        CountedSingleRun run;
        std::string error;
        ASSERT_TRUE(loadLevelSource(level.textPath, run.level, error)) << error;
        std::vector<HeldKeys> recording = readRecording(level.keysPath);
        ASSERT_FALSE(recording.empty()) << "no recording beside the level";
        startReplayServices();
        run.start();
        run.deaths = DeathCount();
        ReplayResult result = replayRecording(run, recording);
        EXPECT_TRUE(result.finished);
        EXPECT_EQ(result.deaths, 0);
        EXPECT_EQ(run.deaths.total(), 0) << describeDeaths(run.deaths);
        EXPECT_GE(run.spareLives(), 5) << "no life lost on the way";
    }
}

TEST_F(ShippedCampaigns, TwoDescribedCampaignsUseEveryBlockTypeItemAndMotion) {
    std::vector<CampaignEntry> campaigns = listCampaigns(sourceDir() + "/maps");
    ASSERT_GE(campaigns.size(), 2u);
    const std::vector<ShippedLevel> levels = shippedLevelsWithPrefix("s-");
    for (const CampaignEntry& campaign : campaigns) {
        EXPECT_NE(campaign.description.name, "No name") << campaign.directory << " has its description.txt";
        const auto count = std::count_if(levels.begin(), levels.end(),
                                         [&](const ShippedLevel& level) { return campaignOf(level) == campaign.directory; });
        EXPECT_EQ(campaign.description.levels, std::to_string(count)) << campaign.directory << ": the count it claims";
        // The campaign list shows the description whole: it fits its line.
        const std::string text = readText(sourceDir() + "/maps/" + campaign.directory + "/description.txt");
        const std::string written = text.substr(text.find("Description:\n") + 13);
        EXPECT_EQ(campaign.description.description, written.substr(0, written.find('\n')))
            << campaign.directory << ": the description is cut where the list reads it";
    }
    std::set<int> types;
    bool checkpoint = false, pusher = false, bonus = false, court = false, moving = false, trigger = false;
    for (const ShippedLevel& shipped : levels) {
        Level level;
        EXPECT_NE(campaignOf(shipped), "") << shipped.name << ": a campaign level outside a campaign folder";
        ASSERT_EQ(parseLevelText(readText(shipped.textPath), level, nullptr), 0) << shipped.name;
        for (const Block& block : level.blocks) {
            types.insert(block.type);
            const BlockBody& body = block.body;
            if (body.pointX == 0) continue;
            checkpoint |= body.has(FLAG_CHECKPOINT);
            pusher |= body.has(FLAG_PUSHER);
            bonus |= body.has(FLAG_BONUS);
            moving |= body.has(FLAG_MOVE);
            // A court lies below the lane before it, so the craft arrives above it.
            if (body.has(FLAG_PONG)) court |= body.y < level.blocks.front().body.y;
        }
        for (const Block& block : level.blocks)
            trigger |= block.body.has(FLAG_TOUCH_TRIGGER) && block.body.has(FLAG_HAS_TARGET);
    }
    for (int type = 0; type < BLOCK_TYPE_COUNT; ++type) EXPECT_TRUE(types.count(type)) << "type " << type;
    EXPECT_TRUE(checkpoint);
    EXPECT_TRUE(pusher);
    EXPECT_TRUE(bonus);
    EXPECT_TRUE(court);
    EXPECT_TRUE(moving);
    EXPECT_TRUE(trigger);
}

}  // namespace
