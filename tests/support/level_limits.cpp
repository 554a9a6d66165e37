#include "support/level_limits.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "replay/level_source.h"

namespace {

double median(std::vector<int> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

std::string seconds(int ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", ms / 1000.0);
    return text;
}

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
    return text.empty() ? "none" : text;
}

std::string figure(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// The first levels of the first campaign (reports come sorted by path).
std::set<std::string> tutorials(const std::vector<LevelReport>& reports, int count) {
    std::set<std::string> chosen;
    std::string first;
    bool found = false;
    for (const LevelReport& report : reports) {
        if (report.mode != LevelMode::Campaign) continue;
        if (!found) first = campaignOf(report), found = true;
        if (campaignOf(report) == first && int(chosen.size()) < count) chosen.insert(report.label);
    }
    return chosen;
}

}  // namespace

std::vector<LevelReport> checkFolder(const std::string& folder) {
    std::vector<LevelReport> reports;
    for (const LevelFile& file : findLevelFiles({folder})) reports.push_back(checkLevel(file.path, file.label));
    return reports;
}

std::vector<std::string> levelLimitFaults(const std::vector<LevelReport>& reports, const LevelLimits& limits) {
    std::vector<std::string> faults;
    const std::set<std::string> tutorial = tutorials(reports, limits.tutorialLevels);
    std::vector<int> campaignSteps, mapSteps;
    std::set<std::string> campaigns;
    std::vector<std::string> naiveMaps, maps, racesLost, castlesGuarded;
    for (const LevelReport& report : reports) {
        for (const std::string& fault : report.proofFaults()) faults.push_back(report.label + ": broken proof: " + fault);
        if (!report.error.empty() || !report.proof.present) continue;
        const bool isTutorial = tutorial.count(report.label) > 0;
        for (const std::string& fault : report.designFaults()) faults.push_back(report.label + ": " + fault);
        const int least = report.mode == LevelMode::Castle ? limits.castleMinProofSteps
                          : isTutorial                       ? limits.tutorialMinProofSteps
                                                             : limits.minProofSteps;
        if (report.proof.steps < least)
            faults.push_back(report.label + ": proof of " + std::to_string(report.proof.steps) + " steps, below " +
                             std::to_string(least) + (isTutorial ? " (a tutorial level)" : ""));
        const bool naiveClean = report.naive.result == NaiveRun::FinishedClean;
        switch (report.mode) {
            case LevelMode::Campaign:
                campaignSteps.push_back(report.proof.steps);
                campaigns.insert(campaignOf(report));
                if (report.proof.pongGames < report.pongCourts)
                    faults.push_back(report.label + ": the proof plays " + std::to_string(report.proof.pongGames) +
                                     " pong games on " + std::to_string(report.pongCourts) +
                                     " courts: a court can be driven past");
                if (naiveClean && !isTutorial)
                    faults.push_back(report.label + ": holding forward alone finishes it without losing a life "
                                     "(only the first " + std::to_string(limits.tutorialLevels) +
                                     " levels of the first campaign may be that easy)");
                break;
            case LevelMode::Race:
            case LevelMode::TimeAttack:
                mapSteps.push_back(report.proof.steps);
                maps.push_back(report.label);
                if (naiveClean) naiveMaps.push_back(report.label);
                if (report.mode == LevelMode::Race && report.race.forwardLosesALife()) racesLost.push_back(report.label);
                if (report.goldMs <= report.proofTimeMs())
                    faults.push_back(report.label + ": gold " + seconds(report.goldMs) + " is not above the proof's " +
                                     seconds(report.proofTimeMs()));
                if (!(report.goldMs < report.silverMs && report.silverMs < report.bronzeMs))
                    faults.push_back(report.label + ": medal times " + seconds(report.goldMs) + ", " +
                                     seconds(report.silverMs) + ", " + seconds(report.bronzeMs) +
                                     " do not rise from gold to bronze");
                if (report.naiveMedal() != MEDAL_NONE && report.label != limits.beginnerMap)
                    faults.push_back(report.label + ": holding forward alone wins a medal; only the beginner's map " +
                                     limits.beginnerMap + " may give one");
                break;
            case LevelMode::Castle:
                if (report.castle.singleKeyScores.empty()) castlesGuarded.push_back(report.label);
                break;
        }
    }
    for (const Cliff& cliff : campaignCliffs(reports))
        if (cliff.campaign == 0) faults.push_back(cliffLine(cliff));
    if (median(campaignSteps) < limits.medianCampaignSteps)
        faults.push_back("campaign levels: median proof " + figure(median(campaignSteps)) + " steps, below " +
                         std::to_string(limits.medianCampaignSteps));
    if (median(mapSteps) < limits.medianMapSteps)
        faults.push_back("time-attack maps: median proof " + figure(median(mapSteps)) + " steps, below " +
                         std::to_string(limits.medianMapSteps));
    if (int(campaigns.size()) < limits.minCampaigns || int(campaignSteps.size()) < limits.minCampaignLevels)
        faults.push_back("campaigns: " + std::to_string(campaigns.size()) + " with " +
                         std::to_string(campaignSteps.size()) + " levels, wanted at least " +
                         std::to_string(limits.minCampaigns) + " with " + std::to_string(limits.minCampaignLevels));
    if (int(maps.size()) < limits.minTimeAttackMaps)
        faults.push_back("time-attack maps: " + std::to_string(maps.size()) + " (race maps included), wanted at least " +
                         std::to_string(limits.minTimeAttackMaps));
    if (int(naiveMaps.size()) > limits.maxNaiveMapFinishes)
        faults.push_back("time-attack maps: holding forward alone finishes " + std::to_string(naiveMaps.size()) +
                         " without losing a life (" + joined(naiveMaps) + "), at most " +
                         std::to_string(limits.maxNaiveMapFinishes));
    if (int(racesLost.size()) < limits.minRaceMapsForwardLoses)
        faults.push_back("race maps: " + std::to_string(racesLost.size()) + " where each craft holding forward alone "
                         "loses a life within " + std::to_string(RACE_CHECK_LAPS) + " laps (" + joined(racesLost) +
                         "), wanted at least " + std::to_string(limits.minRaceMapsForwardLoses));
    if (int(castlesGuarded.size()) < limits.minCastleMapsNoSingleKey)
        faults.push_back("castle maps: " + std::to_string(castlesGuarded.size()) + " where no key held alone scores "
                         "within " + std::to_string(CASTLE_KEY_STEPS) + " steps (" + joined(castlesGuarded) +
                         "), wanted at least " + std::to_string(limits.minCastleMapsNoSingleKey));
    return faults;
}
