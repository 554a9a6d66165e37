#include "replay/level_source.h"

#include <sys/stat.h>

#include <algorithm>
#include <set>

#include "core/byte_io.h"
#include "core/directory_listing.h"
#include "level/level_file.h"
#include "level/level_text.h"

namespace {

const std::string TEXT_SUFFIX = ".slv.txt";
const std::string BUILT_SUFFIX = ".slv";

bool endsWith(const std::string& text, const std::string& suffix) {
    return text.size() > suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool isLevelFile(const std::string& path) { return endsWith(path, TEXT_SUFFIX) || endsWith(path, BUILT_SUFFIX); }

std::string stemOf(const std::string& path) {
    if (endsWith(path, TEXT_SUFFIX)) return path.substr(0, path.size() - TEXT_SUFFIX.size());
    if (endsWith(path, BUILT_SUFFIX)) return path.substr(0, path.size() - BUILT_SUFFIX.size());
    return path;
}

bool isDirectory(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

void collect(const std::string& folder, std::vector<std::string>& files) {
    for (const DirectoryEntry& entry : listDirectory(folder)) {
        const std::string path = folder + "/" + entry.name;
        if (entry.isDirectory)
            collect(path, files);
        else if (isLevelFile(path))
            files.push_back(path);
    }
}

}  // namespace

std::string levelNameOf(const std::string& path) {
    const std::string stem = stemOf(path);
    const size_t slash = stem.rfind('/');
    return slash == std::string::npos ? stem : stem.substr(slash + 1);
}

bool loadLevelSource(const std::string& path, Level& level, std::string& error) {
    std::string contents;
    if (!readWholeFile(path, contents)) {
        error = path + ": cannot open";
        return false;
    }
    std::vector<uint8_t> bytes(contents.begin(), contents.end());
    if (endsWith(path, TEXT_SUFFIX)) {
        Level text;
        LevelTextError textError;
        bool oldForm = false;
        if (parseLevelText(contents, text, &textError, &oldForm) != 0) {
            error = path + ":" + std::to_string(textError.line) + ": " + textError.message;
            return false;
        }
        if (!blocksSortedByZ(text)) sortBlocksByZ(text.blocks.editAll());
        bytes = levelBytes(text, oldForm);
    }
    Level loaded;
    if (readLevel(bytes, loaded) != 0 || loaded.blocks.empty()) {
        error = path + ": not a level file (short, damaged or without blocks)";
        return false;
    }
    level = std::move(loaded);
    return true;
}

std::vector<LevelFile> findLevelFiles(const std::vector<std::string>& paths) {
    std::vector<LevelFile> files;
    for (const std::string& path : paths) {
        if (!isDirectory(path)) {
            files.push_back({path, levelNameOf(path)});
            continue;
        }
        std::string folder = path;
        while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
        std::vector<std::string> found;
        collect(folder, found);
        for (const std::string& file : found) files.push_back({file, stemOf(file.substr(folder.size() + 1))});
    }
    const auto byPath = [](const LevelFile& a, const LevelFile& b) { return a.path < b.path; };
    std::sort(files.begin(), files.end(), byPath);
    files.erase(std::unique(files.begin(), files.end(),
                            [](const LevelFile& a, const LevelFile& b) { return a.path == b.path; }),
                files.end());
    std::set<std::string> texts;
    for (const LevelFile& file : files)
        if (endsWith(file.path, TEXT_SUFFIX)) texts.insert(stemOf(file.path));
    files.erase(std::remove_if(files.begin(), files.end(),
                               [&](const LevelFile& file) {
                                   return endsWith(file.path, BUILT_SUFFIX) && texts.count(stemOf(file.path));
                               }),
                files.end());
    return files;
}
