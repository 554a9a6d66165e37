#include "modes/single/campaign.h"

#include <algorithm>
#include <cstdint>

#include "core/directory_listing.h"
#include "core/game_paths.h"
#include "sim/run_timer.h"

namespace {

bool isCampaignFolder(const DirectoryEntry& entry) {
    return entry.isDirectory && entry.name.find('.') == std::string::npos &&
           entry.name.find("camp") != std::string::npos;
}

bool isCampaignLevel(const DirectoryEntry& entry) {
    const std::string& name = entry.name;
    const std::string extension = ".slv";
    return entry.isRegularFile && name.rfind("s-", 0) == 0 && name.size() > extension.size() &&
           name.compare(name.size() - extension.size(), extension.size(), extension) == 0;
}

}  // namespace

std::vector<CampaignEntry> listCampaigns(const std::string& mapsDir) {
    std::vector<CampaignEntry> campaigns;
    for (const DirectoryEntry& entry : listGameFolder(mapsDir)) {
        if (!isCampaignFolder(entry)) continue;
        CampaignEntry campaign;
        campaign.directory = entry.name;
        campaign.description = readCampaignDescription(readableFile(mapsDir + "/" + entry.name + "/description.txt"));
        campaigns.push_back(campaign);
    }
    std::sort(campaigns.begin(), campaigns.end(), [](const CampaignEntry& a, const CampaignEntry& b) {
        return fileNameBefore(a.directory, b.directory);
    });
    return campaigns;
}

std::vector<std::string> listCampaignLevels(const std::string& campaignDir) {
    std::vector<std::string> names;
    for (const DirectoryEntry& entry : listGameFolder(campaignDir))
        if (isCampaignLevel(entry)) names.push_back(entry.name);
    std::sort(names.begin(), names.end(), fileNameBefore);
    return names;
}

std::string progressPath(const std::string& mapsDir, const std::string& campaignDirectory) {
    return mapsDir + "/" + campaignDirectory + "/" + PROGRESS_FILE_NAME;
}

bool fitsProgressFile(const std::string& levelName) { return levelName.size() < PROGRESS_NAME_SIZE; }

CampaignProgress loadCampaignProgress(const std::string& mapsDir, const std::string& campaignDirectory) {
    CampaignProgress campaign;
    for (const std::string& name : listCampaignLevels(mapsDir + "/" + campaignDirectory)) {
        if (!fitsProgressFile(name)) {
            campaign.leftOut.push_back(name);
            continue;
        }
        LevelRecord record;
        record.name = name;
        campaign.levels.push_back(record);
    }
    readProgressFile(userFile(progressPath(mapsDir, campaignDirectory)), campaign);
    // Levels added before the first open one (a newer version of the
    // campaign) leave the stored progress pointing at a level already
    // finished or skipped: it moves on past those, so a new level is open to
    // play but takes back nothing the player had opened.
    const auto done = [&campaign](int index) {
        const LevelRecord& level = campaign.levels[size_t(index)];
        return level.skipped || level.recordTime != NO_CAMPAIGN_RECORD;
    };
    while (campaign.progress < int(campaign.levels.size()) && done(campaign.progress)) campaign.progress += 1;
    return campaign;
}

std::string leftOutLine(const CampaignProgress& campaign) {
    const size_t count = campaign.leftOut.size();
    if (count == 0) return std::string();
    return "Left out: " + std::to_string(count) + (count == 1 ? " level" : " levels") +
           " with a file name of 64 bytes or more";
}

int skipsAllowed(const CampaignProgress& campaign) { return int(campaign.levels.size()) / 6; }

bool canSkip(const CampaignProgress& campaign, int selected) {
    return campaign.skipsUsed < skipsAllowed(campaign) && selected == campaign.progress &&
           selected < int(campaign.levels.size());
}

bool skipLevel(CampaignProgress& campaign, int selected) {
    if (!canSkip(campaign, selected)) return false;
    campaign.levels[size_t(selected)].skipped = true;
    campaign.skipsUsed += 1;
    campaign.progress += 1;
    return true;
}

bool finishLevel(CampaignProgress& campaign, int index, int32_t lives, int32_t timeMs) {
    if (index < 0 || index >= int(campaign.levels.size())) return false;
    LevelRecord& record = campaign.levels[size_t(index)];
    // Times compare as the unsigned millisecond counts the file stores; the
    // stored spare lives may be anything a file held, so compare wide.
    const int64_t storedLives = int64_t(record.spareLives) + 1;
    const bool moreLives = storedLives < lives;
    const bool sameLivesFaster = lives == storedLives && uint32_t(timeMs) <= record.recordTime;
    const bool replaced = moreLives || sameLivesFaster;
    if (replaced) {
        record.recordTime = uint32_t(timeMs);
        record.spareLives = lives - 1;
    }
    if (record.skipped) {
        record.skipped = false;
        campaign.skipsUsed = std::max(0, campaign.skipsUsed - 1);
    } else if (index == campaign.progress) {
        campaign.progress += 1;
    }
    return replaced;
}

int livesLost(const CampaignProgress& campaign) {
    // Wide sums: a damaged file may store any spare lives.
    int64_t kept = 0;
    const int counted = std::min(int(campaign.progress), int(campaign.levels.size()));
    for (int i = 0; i < counted; ++i) kept += campaign.levels[size_t(i)].spareLives;
    const int64_t lost = 5 * int64_t(campaign.progress) - kept;
    return int(std::max<int64_t>(0, std::min<int64_t>(lost, INT32_MAX)));
}

const char* rankName(int32_t progress, int lost) {
    if (lost == 0) {
        if (progress >= 5) return "Godlike";
        if (progress >= 3) return "Progamer";
        if (progress >= 1) return "Veteran";
        return "Newbie";
    }
    // The quotient is exact; the thresholds are single-precision constants,
    // so 1.7 and 0.3 lie slightly above their decimal values and a quotient
    // of exactly 1.7 or 0.3 falls to the next rank down.
    const double q = double(progress) / double(lost);
    if (q >= double(3.5f)) return "Godlike";
    if (q >= double(1.7f)) return "Progamer";
    if (q >= double(1.0f)) return "Veteran";
    if (q >= double(0.75f)) return "Highly Skilled";
    if (q >= double(0.5f)) return "Skilled";
    if (q >= double(0.3f)) return "Not Bad";
    if (q >= double(0.25f)) return "Poor";
    return "Newbie";
}

std::string shownName(const std::string& name, size_t maxCharacters) {
    if (name.size() <= maxCharacters) return name;
    if (maxCharacters <= 3) return name.substr(0, maxCharacters);
    return name.substr(0, maxCharacters - 3) + "...";
}

std::vector<std::string> wrapDescription(const std::string& text, size_t width) {
    std::vector<std::string> lines;
    size_t start = text.find_first_not_of(' ');
    while (start != std::string::npos && start < text.size()) {
        size_t end = start + width;
        if (end >= text.size()) {
            lines.push_back(text.substr(start));
            break;
        }
        const size_t space = text.rfind(' ', end);
        if (space != std::string::npos && space > start) end = space;
        std::string line = text.substr(start, end - start);
        while (!line.empty() && line.back() == ' ') line.pop_back();
        lines.push_back(line);
        start = text.find_first_not_of(' ', end);
    }
    return lines;
}

bool hasCampaignRecord(const LevelRecord& record) { return record.recordTime < NO_CAMPAIGN_RECORD; }

LevelRowTexts levelRowTexts(const LevelRecord& record) {
    if (!hasCampaignRecord(record)) return {"-", NO_RECORD_TEXT};
    return {std::to_string(record.spareLives), listTimeText(record.recordTime)};
}

LevelFinish finishAndCompare(CampaignProgress& campaign, int index, int32_t lives, int32_t timeMs) {
    LevelFinish finish;
    finish.timeMs = timeMs;
    finish.spareLives = lives - 1;
    if (index >= 0 && index < int(campaign.levels.size())) finish.before = campaign.levels[size_t(index)];
    finishLevel(campaign, index, lives, timeMs);
    const int last = int(campaign.levels.size()) - 1;
    finish.nextLevel = std::max(0, std::min({index + 1, int(campaign.progress), last}));
    return finish;
}

std::vector<std::string> levelFinishLines(const LevelFinish& finish) {
    const LevelRecord& before = finish.before;
    std::string comparison;
    if (!hasCampaignRecord(before)) {
        comparison = "Your first finish of this level.";
    } else {
        const std::string best = clockTimeText(before.recordTime) + ", " + std::to_string(before.spareLives) +
                                 " spare lives";
        // More spare lives beat a faster time, as the records count them.
        const bool better = finish.spareLives > before.spareLives ||
                            (finish.spareLives == before.spareLives && uint32_t(finish.timeMs) < before.recordTime);
        comparison = better ? "New best! Before: " + best + "." : "Your best stays " + best + ".";
    }
    return {"Level complete",
            "Time: " + clockTimeText(uint32_t(finish.timeMs)),
            "Spare lives: " + std::to_string(finish.spareLives),
            comparison,
            "Press a key for the level list."};
}
