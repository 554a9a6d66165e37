#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A campaign's progress, single.stat in its folder: little-endian, no
// padding. int32 level count, int32 progress, then one 73-byte record per
// level: 64 bytes name (NUL-terminated, zeros after it), 1 byte skipped,
// uint32 record time in ms, int32 spare lives.

constexpr uint32_t NO_CAMPAIGN_RECORD = 99999999;  // shown as 1666: 39: 99
constexpr size_t PROGRESS_NAME_SIZE = 64;
constexpr size_t PROGRESS_RECORD_SIZE = 73;
constexpr size_t PROGRESS_HEADER_SIZE = 8;
constexpr const char* PROGRESS_FILE_NAME = "single.stat";

struct LevelRecord {
    std::string name;  // level file name, such as "s-01-throttle.slv"
    bool skipped = false;
    uint32_t recordTime = NO_CAMPAIGN_RECORD;
    int32_t spareLives = 0;
};

struct CampaignProgress {
    std::vector<LevelRecord> levels;  // the campaign's levels in list order
    int32_t progress = 0;             // first level neither completed nor skipped
    int32_t skipsUsed = 0;
    // Level files whose names the 64-byte name field cannot hold whole: they
    // are not part of the campaign (their records could never be matched).
    std::vector<std::string> leftOut;
};

// Clears every record and takes what the file image holds for levels of the
// same name. Trusts nothing: records cut off by the end of the bytes are
// dropped, names are cut at their 64th byte, a negative count reads nothing,
// and progress is kept within 0..level count. Every stored record is read,
// whatever the stored count says about the current levels, so a removed
// level never costs the others their records. An image too short for the
// header reads as a fresh campaign.
void parseProgress(const uint8_t* data, size_t size, CampaignProgress& campaign);

// The file image of the campaign's progress.
std::vector<uint8_t> progressBytes(const CampaignProgress& campaign);

// "maps/<campaign>/single.stat" through parseProgress; a missing or
// unreadable file reads as a fresh campaign.
void readProgressFile(const std::string& path, CampaignProgress& campaign);

// Writes atomically. 0, or -1 with the old file untouched.
int writeProgressFile(const std::string& path, const CampaignProgress& campaign);
