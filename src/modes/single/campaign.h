#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "modes/single/campaign_description_file.h"
#include "modes/single/progress_file.h"

// Campaigns: folders under maps/ whose name has no '.' and contains "camp",
// each holding its "s-*.slv" levels, description.txt and single.stat. The
// rules of the level list and of a finished level live here, without a
// window, so tests check them directly.

struct CampaignEntry {
    std::string directory;  // the full folder name: paths always use all of it
    CampaignDescription description;
};

// The campaigns of mapsDir, sorted by folder name (byte order) so the list
// keeps its order from one visit to the next.
std::vector<CampaignEntry> listCampaigns(const std::string& mapsDir);

// The "s-*.slv" files of a campaign folder, full names, in byte order.
std::vector<std::string> listCampaignLevels(const std::string& campaignDir);

// "maps/<campaign>/single.stat".
std::string progressPath(const std::string& mapsDir, const std::string& campaignDirectory);

// Whether single.stat can store the level's name whole (63 bytes at most).
bool fitsProgressFile(const std::string& levelName);

// A fresh table of the campaign's levels, then its progress file (its
// progress moved past levels already finished or skipped). Levels
// whose names do not fit single.stat are left out (listed in `leftOut`):
// a record or skip mark the file cannot tie to them would be lost at every
// reading, and a skip given back each time.
CampaignProgress loadCampaignProgress(const std::string& mapsDir, const std::string& campaignDirectory);

// The level list's line about levels left out; empty when none is.
std::string leftOutLine(const CampaignProgress& campaign);

// One skip per six levels; only the first open level can be skipped.
int skipsAllowed(const CampaignProgress& campaign);
bool canSkip(const CampaignProgress& campaign, int selected);
// Marks the level skipped and opens the next one. False when not allowed.
bool skipLevel(CampaignProgress& campaign, int selected);

// A finish of level `index` with `lives` (spare lives + 1) after timeMs.
// More spare lives always beat a faster time; equal lives need a time no
// longer than the record. A skipped level loses its mark (progress stays);
// otherwise finishing the first open level opens the next. Returns true
// when the record was replaced.
bool finishLevel(CampaignProgress& campaign, int index, int32_t lives, int32_t timeMs);

// Whether a level has a finish on record: the file keeps 99999999 for none.
bool hasCampaignRecord(const LevelRecord& record);
// The level list's columns for a level: the spare lives and the time of the
// best finish, or "-" and "no record".
struct LevelRowTexts {
    std::string lives, time;
};
LevelRowTexts levelRowTexts(const LevelRecord& record);

// A finish as the finish moment shows it: the run against the level's best
// finish before it, and where the level list's cursor goes next.
struct LevelFinish {
    int32_t timeMs = 0;
    int32_t spareLives = 0;
    LevelRecord before;  // the level's record before this finish
    int nextLevel = 0;   // the next open level, or this one when it is the last
};
// finishLevel, and what it did.
LevelFinish finishAndCompare(CampaignProgress& campaign, int index, int32_t lives, int32_t timeMs);
// "Level complete", the time, the spare lives, how it compares, the way on.
std::vector<std::string> levelFinishLines(const LevelFinish& finish);

// 5 x progress minus the spare lives kept on the levels before it, at least
// 0 (a skipped level keeps none, so it counts five).
int livesLost(const CampaignProgress& campaign);
// "Godlike" .. "Newbie" from progress and lives lost.
const char* rankName(int32_t progress, int lost);

// The description in lines of at most `width` characters, broken between
// words where it can (a word longer than a line is cut), without the spaces
// at the breaks.
std::vector<std::string> wrapDescription(const std::string& text, size_t width);

// Cuts text for drawing: longer names end in "..." within maxCharacters.
std::string shownName(const std::string& name, size_t maxCharacters);
