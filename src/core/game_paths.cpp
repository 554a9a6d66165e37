#include "core/game_paths.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

GameRoots currentRoots = {".", "."};

bool isFolder(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The game's own data tree holds gfx/; an installed one lies in share/.
bool holdsGameData(const std::string& folder) { return isFolder(folder + "/gfx"); }

std::string parentOf(const std::string& folder) {
    const std::size_t slash = folder.find_last_of('/', folder.size() > 1 ? folder.size() - 2 : 0);
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : folder.substr(0, slash);
}

std::string absolute(const std::string& path) {
    if (path.empty() || path[0] == '/') return path;
    char* here = ::getcwd(nullptr, 0);
    std::string result = here ? std::string(here) + "/" + path : path;
    std::free(here);
    return result;
}

// $HOME, else the password database's entry; empty when neither has one.
std::string homeFolder() {
    const char* home = std::getenv("HOME");
    if (home && home[0]) return home;
    const passwd* entry = ::getpwuid(::getuid());
    return entry && entry->pw_dir ? entry->pw_dir : "";
}

// $<variable>/tavrelo, or <home>/<fallback>/tavrelo: an empty or relative
// value is to be ignored, as the XDG rules say.
std::string xdgFolder(const char* variable, const char* fallback) {
    const char* value = std::getenv(variable);
    if (value && value[0] == '/') return std::string(value) + "/tavrelo";
    const std::string home = homeFolder();
    return home.empty() ? "" : home + "/" + fallback + "/tavrelo";
}

// A file below a root; with no root (no home folder) a path below /dev/null,
// where no folder or file can ever be made, so every save fails and says so.
std::string inRoot(const std::string& root, const std::string& relative) {
    return (root.empty() ? std::string("/dev/null") : root) + "/" + relative;
}

bool oneFolder() { return currentRoots.user == currentRoots.data; }

const std::string& configRoot() { return currentRoots.config.empty() ? currentRoots.user : currentRoots.config; }

// mkdir -p for the folders above `path` (the last component is a file).
bool makeFoldersAbove(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        const std::string folder = path.substr(0, slash);
        if (::mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
    return true;
}

}  // namespace

GameRoots chooseGameRoots(const std::string& executableFolder, const std::string& dataOverride,
                          const std::string& userOverride) {
    GameRoots roots;
    const std::string installedData = parentOf(executableFolder) + "/share/games/tavrelo";
    bool besideExecutable = true;
    if (!dataOverride.empty()) {
        roots.data = absolute(dataOverride);
        besideExecutable = false;
    } else if (!holdsGameData(executableFolder) && holdsGameData(installedData)) {
        roots.data = installedData;
        besideExecutable = false;
    } else {
        roots.data = executableFolder;
    }
    if (!userOverride.empty()) {
        roots.user = roots.config = absolute(userOverride);
    } else if (besideExecutable) {
        roots.user = roots.config = roots.data;
    } else {
        roots.user = xdgFolder("XDG_DATA_HOME", ".local/share");
        roots.config = xdgFolder("XDG_CONFIG_HOME", ".config");
    }
    return roots;
}

void setGameRoots(const GameRoots& roots) { currentRoots = roots; }

const GameRoots& gameRoots() { return currentRoots; }

bool prepareUserRoot(std::string& why) {
    if (currentRoots.user.empty() || configRoot().empty()) {
        why = "a home folder (HOME is not set and the password database has none)";
        return false;
    }
    for (const std::string& folder : {currentRoots.user, currentRoots.user + "/maps", configRoot()}) {
        if (!makeFoldersAbove(folder + "/.") || ::access(folder.c_str(), W_OK) != 0) {
            why = folder + " (" + std::strerror(errno) + ")";
            return false;
        }
    }
    return true;
}

std::string userFile(const std::string& relative) {
    return oneFolder() ? relative : inRoot(currentRoots.user, relative);
}

std::string configFile(const std::string& relative) {
    return configRoot() == currentRoots.data ? relative : inRoot(configRoot(), relative);
}

std::string userFileForWriting(const std::string& relative) {
    const std::string path = userFile(relative);
    makeFoldersAbove(path);
    return path;
}

std::string readableFile(const std::string& relative) {
    if (oneFolder()) return relative;
    const std::string own = userFile(relative);
    return ::access(own.c_str(), F_OK) == 0 ? own : relative;
}

std::vector<DirectoryEntry> listGameFolder(const std::string& relative) {
    std::vector<DirectoryEntry> entries = listDirectory(relative);
    if (oneFolder()) return entries;
    for (const DirectoryEntry& own : listDirectory(userFile(relative))) {
        bool shadowed = false;
        for (DirectoryEntry& shipped : entries) {
            if (shipped.name != own.name) continue;
            shipped = own;
            shadowed = true;
            break;
        }
        if (!shadowed) entries.push_back(own);
    }
    return entries;
}
