#include "core/game_paths.h"

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

std::string xdgUserRoot() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    // An empty or relative value is to be ignored, as the XDG rules say.
    if (dataHome && dataHome[0] == '/') return std::string(dataHome) + "/tavrelo";
    const char* home = std::getenv("HOME");
    return std::string(home && home[0] ? home : ".") + "/.local/share/tavrelo";
}

bool oneFolder() { return currentRoots.user == currentRoots.data; }

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
    const std::string installedData = parentOf(executableFolder) + "/share/tavrelo";
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
    if (!userOverride.empty())
        roots.user = absolute(userOverride);
    else
        roots.user = besideExecutable ? roots.data : xdgUserRoot();
    return roots;
}

void setGameRoots(const GameRoots& roots) { currentRoots = roots; }

const GameRoots& gameRoots() { return currentRoots; }

bool prepareUserRoot(std::string& why) {
    const std::string probe = currentRoots.user + "/maps/.";
    if (!makeFoldersAbove(probe) || ::access(currentRoots.user.c_str(), W_OK) != 0 ||
        ::access((currentRoots.user + "/maps").c_str(), W_OK) != 0) {
        why = std::strerror(errno);
        return false;
    }
    return true;
}

std::string userFile(const std::string& relative) {
    return oneFolder() ? relative : currentRoots.user + "/" + relative;
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
