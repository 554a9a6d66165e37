#include "modes/single/progress_file.h"

#include <algorithm>

#include "core/byte_io.h"

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

LevelRecord* recordNamed(CampaignProgress& campaign, const std::string& name) {
    for (LevelRecord& record : campaign.levels)
        if (record.name == name) return &record;
    return nullptr;
}

}  // namespace

void parseProgress(const uint8_t* data, size_t size, CampaignProgress& campaign) {
    clearRecords(campaign);
    ByteReader reader(data, size);
    int32_t storedCount = 0, storedProgress = 0;
    if (!reader.readInt32(storedCount) || !reader.readInt32(storedProgress)) return;
    const int32_t levelCount = int32_t(campaign.levels.size());
    campaign.progress = std::max(0, std::min(storedProgress, levelCount));
    // Every stored record that is whole, however many the count claims: a
    // negative count reads none, a count beyond the bytes stops at the end.
    for (int32_t i = 0; i < storedCount && reader.remaining() >= PROGRESS_RECORD_SIZE; ++i) {
        std::string name, skippedFlag;
        uint32_t time = NO_CAMPAIGN_RECORD;
        int32_t lives = 0;
        // The name ends at its first NUL or at the end of its 64 bytes; the
        // skipped byte reads as a one-byte field, empty when it is 0.
        reader.readText(name, PROGRESS_NAME_SIZE);
        reader.readText(skippedFlag, 1);
        reader.readInt32(time);
        reader.readInt32(lives);
        LevelRecord* record = recordNamed(campaign, name);
        if (record == nullptr) continue;  // a level that is gone, or a name no level has
        record->skipped = !skippedFlag.empty();
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
    for (const LevelRecord& record : campaign.levels) {
        // Always terminated: a name of 64 bytes or more keeps 63.
        writer.writeText(record.name.substr(0, PROGRESS_NAME_SIZE - 1), PROGRESS_NAME_SIZE);
        writer.writeText(record.skipped ? "\1" : "", 1);
        writer.writeUint32(record.recordTime);
        writer.writeInt32(record.spareLives);
    }
    return writer.take();
}

void readProgressFile(const std::string& path, CampaignProgress& campaign) {
    std::vector<uint8_t> bytes;
    // A file that cannot be read whole (also a folder of that name) is a
    // fresh campaign.
    if (!readWholeFile(path, bytes)) bytes.clear();
    parseProgress(bytes.data(), bytes.size(), campaign);
}

int writeProgressFile(const std::string& path, const CampaignProgress& campaign) {
    return writeBytesAtomically(path, progressBytes(campaign));
}
