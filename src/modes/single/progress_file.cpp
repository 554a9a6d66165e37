#include "modes/single/progress_file.h"

#include <algorithm>
#include <cstring>
#include <cstdio>
#include <iterator>

#include "core/atomic_file.h"
#include "level/level_bytes.h"

namespace {

void clearRecords(CampaignProgress& campaign) {
    campaign.progress = 0;
    campaign.skipsUsed = 0;
    for (LevelRecord& record : campaign.levels) {
        record.skipped = false;
        record.recordTime = NO_CAMPAIGN_RECORD;
        record.spareLives = 0;
    }
}

// The name ends at its first NUL or at the end of the field, never beyond.
std::string nameField(const uint8_t* field) {
    const void* end = std::memchr(field, 0, PROGRESS_NAME_SIZE);
    size_t length = end ? size_t(static_cast<const uint8_t*>(end) - field) : PROGRESS_NAME_SIZE;
    return std::string(reinterpret_cast<const char*>(field), length);
}

LevelRecord* recordNamed(CampaignProgress& campaign, const std::string& name) {
    for (LevelRecord& record : campaign.levels)
        if (record.name == name) return &record;
    return nullptr;
}

}  // namespace

bool readCampaignFile(const std::string& path, std::vector<uint8_t>& bytes) {
    bytes.clear();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    uint8_t buffer[4096];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.insert(bytes.end(), buffer, buffer + got);
    const bool whole = std::ferror(file) == 0;
    std::fclose(file);
    return whole;
}

void parseProgress(const uint8_t* data, size_t size, CampaignProgress& campaign) {
    clearRecords(campaign);
    ByteReader header(data, size);
    int32_t storedCount = 0, storedProgress = 0;
    if (!header.readInt32(storedCount) || !header.readInt32(storedProgress)) return;
    const int32_t levelCount = int32_t(campaign.levels.size());
    campaign.progress = std::max(0, std::min(storedProgress, levelCount));
    if (storedCount <= 0) return;
    // The count is checked against the bytes left before anything is read.
    const size_t recordsPresent = (size - PROGRESS_HEADER_SIZE) / PROGRESS_RECORD_SIZE;
    const size_t recordsToRead = std::min(size_t(storedCount), recordsPresent);
    for (size_t i = 0; i < recordsToRead; ++i) {
        const uint8_t* at = data + PROGRESS_HEADER_SIZE + i * PROGRESS_RECORD_SIZE;
        LevelRecord* record = recordNamed(campaign, nameField(at));
        if (record == nullptr) continue;  // a level that is gone, or a name no level has
        ByteReader values(at + PROGRESS_NAME_SIZE + 1, 8);
        uint32_t time = NO_CAMPAIGN_RECORD;
        int32_t lives = 0;
        values.readInt32(time);
        values.readInt32(lives);
        // The file's byte is a flag: any nonzero value counts as set.
        record->skipped = at[PROGRESS_NAME_SIZE] != 0;
        record->recordTime = time;
        record->spareLives = lives;
    }
    for (const LevelRecord& record : campaign.levels)
        if (record.skipped) campaign.skipsUsed += 1;
}

std::vector<uint8_t> progressBytes(const CampaignProgress& campaign) {
    ByteWriter writer;
    writer.writeInt32(int32_t(campaign.levels.size()));
    writer.writeInt32(campaign.progress);
    std::vector<uint8_t> bytes = writer.take();
    for (const LevelRecord& record : campaign.levels) {
        uint8_t name[PROGRESS_NAME_SIZE] = {};
        // Always terminated: a name of 64 bytes or more keeps 63.
        std::memcpy(name, record.name.data(), std::min(record.name.size(), PROGRESS_NAME_SIZE - 1));
        bytes.insert(bytes.end(), std::begin(name), std::end(name));
        bytes.push_back(record.skipped ? 1 : 0);
        ByteWriter values;
        values.writeUint32(record.recordTime);
        values.writeInt32(record.spareLives);
        std::vector<uint8_t> tail = values.take();
        bytes.insert(bytes.end(), tail.begin(), tail.end());
    }
    return bytes;
}

void readProgressFile(const std::string& path, CampaignProgress& campaign) {
    std::vector<uint8_t> bytes;
    // A file that cannot be read whole (also a folder of that name) is a
    // fresh campaign.
    if (!readCampaignFile(path, bytes)) bytes.clear();
    parseProgress(bytes.data(), bytes.size(), campaign);
}

int writeProgressFile(const std::string& path, const CampaignProgress& campaign) {
    std::vector<uint8_t> bytes = progressBytes(campaign);
    return writeFileAtomically(path, bytes.data(), bytes.size());
}
