// libFuzzer target: any bytes as a campaign's single.stat, read against a
// fixed level list, and as its description.txt. The progress read must be
// one the level list can show (progress within the levels, the skip count
// matching the marks), the rank and lives lost are computed on it, and the
// image written back reads again to the same progress. The description's
// fields must stay within their buffers and hold no line break.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "modes/single/campaign.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

CampaignProgress levelList() {
    CampaignProgress campaign;
    for (const char* name : {"s-01-throttle.slv", "s-02-brakes.slv", "s-03.slv", "s-10.slv", "s-2.slv", "s-x.slv"}) {
        LevelRecord record;
        record.name = name;
        campaign.levels.push_back(record);
    }
    return campaign;
}

bool sameProgress(const CampaignProgress& a, const CampaignProgress& b) {
    if (a.progress != b.progress || a.skipsUsed != b.skipsUsed || a.levels.size() != b.levels.size()) return false;
    for (size_t i = 0; i < a.levels.size(); ++i) {
        const LevelRecord& p = a.levels[i];
        const LevelRecord& q = b.levels[i];
        if (p.name != q.name || p.skipped != q.skipped || p.recordTime != q.recordTime || p.spareLives != q.spareLives)
            return false;
    }
    return true;
}

void checkProgress(const uint8_t* data, size_t size) {
    CampaignProgress campaign = levelList();
    parseProgress(data, size, campaign);
    const int count = int(campaign.levels.size());
    require(campaign.progress >= 0 && campaign.progress <= count);
    int skipped = 0;
    for (const LevelRecord& record : campaign.levels) skipped += record.skipped ? 1 : 0;
    require(campaign.skipsUsed == skipped);
    require(livesLost(campaign) >= 0);
    require(rankName(campaign.progress, livesLost(campaign)) != nullptr);
    // The list's moves: a skip and a finish on whatever was read.
    CampaignProgress played = campaign;
    skipLevel(played, played.progress);
    finishLevel(played, played.progress < count ? played.progress : 0, 6, int32_t(size));
    require(played.progress >= 0 && played.progress <= count);

    std::vector<uint8_t> bytes = progressBytes(campaign);
    CampaignProgress again = levelList();
    parseProgress(bytes.data(), bytes.size(), again);
    require(sameProgress(campaign, again));
}

void checkDescription(const uint8_t* data, size_t size) {
    const CampaignDescription fields = parseCampaignDescription(std::string(reinterpret_cast<const char*>(data), size));
    const std::string* all[] = {&fields.name, &fields.levels, &fields.date, &fields.author, &fields.description};
    for (const std::string* field : all) require(field->find('\n') == std::string::npos);
    require(fields.name.size() <= 31 && fields.levels.size() <= 4 && fields.date.size() <= 15);
    require(fields.author.size() <= 15 && fields.description.size() <= 170);
    for (const std::string& line : wrapDescription(fields.description, 57)) require(line.size() <= 57);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    checkProgress(data, size);
    checkDescription(data, size);
    return 0;
}
