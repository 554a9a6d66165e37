// Writes the seed corpus of the campaign fuzz target with the game's own
// writer: progress files of a fresh, a played and a skipping campaign, and
// a description file.
#include <cstdio>
#include <string>
#include <vector>

#include "modes/single/campaign.h"

namespace {

bool writeSeed(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool whole = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && whole;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string folder = argv[1];
    CampaignProgress campaign;
    for (const char* name : {"s-01-throttle.slv", "s-02-brakes.slv", "s-03.slv", "s-10.slv", "s-2.slv", "s-x.slv"}) {
        LevelRecord record;
        record.name = name;
        campaign.levels.push_back(record);
    }
    bool ok = writeSeed(folder + "/fresh.stat", progressBytes(campaign));
    finishLevel(campaign, 0, 6, 61234);
    finishLevel(campaign, 1, 3, 99000);
    skipLevel(campaign, 2);
    ok = ok && writeSeed(folder + "/played.stat", progressBytes(campaign));
    const std::string description =
        "Name:\nGentle Orbit\n\nNumber of levels:\n8\n\nDate:\n2026-12-07\n\nAuthor:\nTavrelo crew\n\n"
        "Description:\nEight short tracks # that teach one thing each.\n";
    ok = ok && writeSeed(folder + "/description.txt", std::vector<uint8_t>(description.begin(), description.end()));
    return ok ? 0 : 1;
}
