#include "support/shipped_levels.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>

namespace {

const std::string LEVEL_SUFFIX = ".slv.txt";
const std::string PROOF_SUFFIX = ".keys";

std::string mapsDir() {
    const char* dir = std::getenv("TAVRELO_SOURCE_DIR");
    return std::string(dir ? dir : ".") + "/maps";
}

bool endsWith(const std::string& text, const std::string& suffix) {
    return text.size() > suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool isDirectory(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

// Paths below maps/ of every file, campaign folders included.
void listFiles(const std::string& root, const std::string& relative, std::vector<std::string>& files) {
    DIR* dir = opendir((root + "/" + relative).c_str());
    if (dir == nullptr) return;
    while (dirent* item = readdir(dir)) {
        const std::string name = item->d_name;
        if (name == "." || name == "..") continue;
        const std::string path = relative.empty() ? name : relative + "/" + name;
        if (isDirectory(root + "/" + path))
            listFiles(root, path, files);
        else
            files.push_back(path);
    }
    closedir(dir);
}

std::vector<std::string> mapFiles() {
    std::vector<std::string> files;
    listFiles(mapsDir(), "", files);
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

const std::vector<LevelProofRoute>& levelProofRoutes() {
    // The single-player campaigns and the castle arenas are played by their
    // own rules; their modes add the replaying tests.
    static const std::vector<LevelProofRoute> routes = {
        {"s-", "ShippedCampaigns.EveryLevelIsFinishedByItsRecordingWithoutLosingALife"},
        {"ca-", "ShippedCastleMaps.EveryCastleMapIsWonByRepeatingItsRecordedAttack"},
    };
    return routes;
}

const LevelProofRoute* proofRouteFor(const std::string& name) {
    for (const LevelProofRoute& route : levelProofRoutes())
        if (name.rfind(route.prefix, 0) == 0) return &route;
    return nullptr;
}

std::vector<ShippedLevel> findShippedLevels() {
    std::vector<ShippedLevel> levels;
    const std::string root = mapsDir();
    for (const std::string& path : mapFiles()) {
        if (!endsWith(path, LEVEL_SUFFIX)) continue;
        ShippedLevel level;
        level.relative = path.substr(0, path.size() - LEVEL_SUFFIX.size());
        const size_t slash = level.relative.rfind('/');
        level.name = slash == std::string::npos ? level.relative : level.relative.substr(slash + 1);
        level.textPath = root + "/" + path;
        level.keysPath = root + "/" + level.relative + PROOF_SUFFIX;
        levels.push_back(level);
    }
    return levels;
}

std::vector<std::string> orphanProofs() {
    std::vector<std::string> orphans;
    for (const std::string& path : mapFiles()) {
        if (!endsWith(path, PROOF_SUFFIX)) continue;
        const std::string stem = path.substr(0, path.size() - PROOF_SUFFIX.size());
        if (!exists(mapsDir() + "/" + stem + LEVEL_SUFFIX)) orphans.push_back(path);
    }
    return orphans;
}

std::vector<ShippedLevel> shippedLevelsWithPrefix(const std::string& prefix) {
    std::vector<ShippedLevel> chosen;
    for (const ShippedLevel& level : findShippedLevels()) {
        const LevelProofRoute* route = proofRouteFor(level.name);
        const bool matches = prefix.empty() ? route == nullptr : route != nullptr && route->prefix == prefix;
        if (matches) chosen.push_back(level);
    }
    return chosen;
}
