#pragma once

#include <string>
#include <vector>

#include "replay/level_check.h"

// What the shipped levels as a whole must measure up to; the level check
// gives the figures. The numbers live in one table in the test that holds
// the shipped levels to them.
struct LevelLimits {
    int minProofSteps;              // every proof but the tutorials' and the castle attacks'
    int tutorialLevels;             // the first levels of the first campaign
    int tutorialMinProofSteps;
    int castleMinProofSteps;        // the attack, until its hit
    int medianCampaignSteps;
    int medianMapSteps;             // time-attack maps, race maps among them
    int maxNaiveMapFinishes;        // maps the forward-only player finishes without losing a life
    int minCampaigns;
    int minCampaignLevels;
    int minTimeAttackMaps;          // race maps count
    int minRaceMapsForwardLoses;    // forward alone loses a life within the check's laps
    int minCastleMapsNoSingleKey;   // no key held alone scores within the check's steps
    std::string beginnerMap;        // the one map where forward alone may win a medal (bronze)
};

// Every level below `folder` (searched recursively), checked.
std::vector<LevelReport> checkFolder(const std::string& folder);

// One line for each broken proof and each limit not met, naming the levels
// and the figures; empty when all hold. Campaign levels that the forward-only
// player finishes must be tutorials (the first `tutorialLevels` levels of the
// first campaign, campaigns and levels in name order), and a campaign proof
// plays a game on every pong court (one it passes shows the court skippable).
// Each level keeps the check's design rules; a cliff fails in the first campaign.
std::vector<std::string> levelLimitFaults(const std::vector<LevelReport>& reports, const LevelLimits& limits);
