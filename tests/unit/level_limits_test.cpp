#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/level_limits.h"

namespace {

// The limits the shipped levels are held to, and the same scaled down for
// the small sample under tests/levels/limits that shows the check at work.
struct LimitRow {
    const char* what;
    int LevelLimits::*field;
    int shipped;
    int sample;
};
const LimitRow LIMITS[] = {
    {"every proof at least (steps)", &LevelLimits::minProofSteps, 1000, 80},
    {"tutorials: the first levels of the first campaign", &LevelLimits::tutorialLevels, 2, 2},
    {"a tutorial's proof at least (steps)", &LevelLimits::tutorialMinProofSteps, 300, 50},
    {"a castle attack at least (steps)", &LevelLimits::castleMinProofSteps, 1000, 100},
    {"median proof of the campaign levels at least (steps)", &LevelLimits::medianCampaignSteps, 1400, 200},
    {"median proof of the time-attack maps at least (steps)", &LevelLimits::medianMapSteps, 1400, 200},
    {"maps forward alone finishes without losing a life, at most", &LevelLimits::maxNaiveMapFinishes, 1, 1},
    {"campaigns at least", &LevelLimits::minCampaigns, 3, 3},
    {"campaign levels at least", &LevelLimits::minCampaignLevels, 30, 7},
    {"time-attack maps (race maps count) at least", &LevelLimits::minTimeAttackMaps, 12, 3},
    {"race maps where forward alone loses a life in three laps, at least", &LevelLimits::minRaceMapsForwardLoses, 4, 1},
    {"castle maps where no single key scores in 1,500 steps, at least", &LevelLimits::minCastleMapsNoSingleKey, 4, 1},
};

LevelLimits limits(int LimitRow::*column) {
    LevelLimits chosen{};
    for (const LimitRow& row : LIMITS) chosen.*(row.field) = row.*column;
    chosen.beginnerMap = column == &LimitRow::shipped ? "first-steps" : "first-map";
    return chosen;
}

std::string sourceDir() {
    const char* dir = std::getenv("TAVRELO_SOURCE_DIR");
    return dir ? dir : ".";
}

std::string lines(const std::vector<std::string>& faults) {
    std::string text;
    for (const std::string& fault : faults) text += "\n  " + fault;
    return text;
}

bool anyContains(const std::vector<std::string>& faults, const std::string& part) {
    return std::any_of(faults.begin(), faults.end(),
                       [&](const std::string& fault) { return fault.find(part) != std::string::npos; });
}

const LevelReport& reportOf(std::vector<LevelReport>& reports, const std::string& label) {
    for (const LevelReport& report : reports)
        if (report.label == label) return report;
    ADD_FAILURE() << "no level " << label;
    return reports.front();
}

// The check over every shipped level, its table printed for whoever reads
// the test's output: no broken proof and every limit met.
TEST(ShippedLevelLimits, EveryLevelIsProvedAndWithinTheLimits) {
    const std::vector<LevelReport> reports = checkFolder(sourceDir() + "/maps");
    ASSERT_FALSE(reports.empty());
    std::string table = checkTableHeader();
    for (const LevelReport& report : reports) table += checkTableRow(report);
    for (const Cliff& cliff : campaignCliffs(reports)) table += cliffLine(cliff) + "\n";
    std::fputs(table.c_str(), stdout);
    const std::vector<std::string> faults = levelLimitFaults(reports, limits(&LimitRow::shipped));
    EXPECT_TRUE(faults.empty()) << faults.size() << " limits not met:" << lines(faults);
}

TEST(LevelLimits, TheSampleMeetsTheScaledLimits) {
    const std::vector<LevelReport> reports = checkFolder(sourceDir() + "/tests/levels/limits");
    ASSERT_EQ(reports.size(), 11u);
    const std::vector<std::string> faults = levelLimitFaults(reports, limits(&LimitRow::sample));
    EXPECT_TRUE(faults.empty()) << lines(faults);
}

// Held to the shipped limits, the sample falls short of every one that
// counts or measures; each fault names the levels and figures.
TEST(LevelLimits, EveryLimitNotMetIsNamed) {
    std::vector<LevelReport> reports = checkFolder(sourceDir() + "/tests/levels/limits");
    ASSERT_EQ(reports.size(), 11u);
    const std::vector<std::string> faults = levelLimitFaults(reports, limits(&LimitRow::shipped));
    const char* const expected[] = {
        "a-camp/s-01-straight: proof of 87 steps, below 300 (a tutorial level)",
        "b-camp/s-01-gap: proof of 424 steps, below 1000",
        "ca-step: proof of 113 steps, below 1000",
        "campaign levels: median proof 237 steps, below 1400",
        "time-attack maps: median proof 212 steps, below 1400",
        "campaigns: 3 with 7 levels, wanted at least 3 with 30",
        "time-attack maps: 3 (race maps included), wanted at least 12",
        "race maps: 1 where each craft holding forward alone loses a life within 3 laps (ra-jump), wanted at least 4",
        "castle maps: 1 where no key held alone scores within 1500 steps (ca-step), wanted at least 4",
    };
    for (const char* fault : expected) EXPECT_TRUE(anyContains(faults, fault)) << fault << " in" << lines(faults);
    EXPECT_EQ(faults.size(), 11u + 6u) << "each of the 11 levels below its least steps, two medians, four counts:"
                                       << lines(faults);
}

TEST(LevelLimits, BrokenProofsEasyLevelsSkippedCourtsAndCheapMedalsAreNamed) {
    std::vector<LevelReport> reports = checkFolder(sourceDir() + "/tests/levels/limits");
    ASSERT_EQ(reports.size(), 11u);
    for (LevelReport& report : reports) {
        if (report.label == "b-camp/s-01-gap") report.naive.result = NaiveRun::FinishedClean;
        if (report.label == "b-camp/s-02-gap")
            report.naive = {NaiveRun::LostLife, 9}, report.proof.standingSteps = report.proof.steps / 3;
        if (report.label == "c-camp/s-01-gap") report.proof.deaths.crashes = 1;
        if (report.label == "c-camp/s-02-gap") report.proof.standingSteps = report.proof.steps / 3 + 1;
        if (report.label == "first-map") report.naive = {NaiveRun::FinishedClean, report.bronzeMs / CHECK_STEP_MS};
        if (report.label == "second-map") report.naive.result = NaiveRun::FinishedClean, report.silverMs += 300;
        if (report.label == "ra-jump") report.goldMs = report.proofTimeMs();
        if (report.label == "ca-step") report.castle.hits = 4;
        if (report.label == "a-camp/s-03-gap") report.pongCourts = 1, report.naive = {NaiveRun::LostLife, 190};
    }
    const std::vector<std::string> faults = levelLimitFaults(reports, limits(&LimitRow::sample));
    const std::string easy = "b-camp/s-01-gap: holding forward alone finishes it without losing a life (only the "
                             "first 2 levels of the first campaign may be that easy)";
    const std::string gold = "ra-jump: gold " + std::to_string(reportOf(reports, "ra-jump").proofTimeMs() / 1000) + ".";
    const std::vector<std::string> expected = {
        easy,
        "c-camp/s-01-gap: broken proof: proof dies: 1 crash",
        "time-attack maps: holding forward alone finishes 2 without losing a life (first-map, second-map), at most 1",
        "is not above the proof's",
        gold,
        "ca-step: broken proof: castle proof lands 4 of 5 attacks",
        "a-camp/s-03-gap: the proof plays 0 pong games on 1 courts: a court can be driven past",
        "CLIFF a-camp/s-03-gap: forward alone finishes a-camp/s-02-longer, then loses a life here after 4.0 s",
        "c-camp/s-02-gap: 33 % of the proof standing or waiting, above one step in 3",
        "second-map: holding forward alone wins gold in 2.5 s, above bronze",
        "second-map: holding forward alone wins a medal; only the beginner's map first-map may give one",
        "second-map: silver 13.4 s is more than 30 % above the proof's 10.1 s",
    };
    for (const std::string& fault : expected) EXPECT_TRUE(anyContains(faults, fault)) << fault << " in" << lines(faults);
    EXPECT_EQ(faults.size(), 11u) << "bronze on the beginner's map, a third standing, a later cliff pass:"
                                  << lines(faults);
    EXPECT_FALSE(anyContains(faults, "a-camp/s-01-straight")) << "a tutorial may be driven by forward alone";
}

}  // namespace
