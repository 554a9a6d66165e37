#include "editor/editor_paths.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/game_paths.h"
#include "level/level_file.h"

namespace {

const char* const LEVEL_EXTENSION = ".slv";

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool isBlank(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

bool startsWith(const std::string& text, const char* head) { return text.rfind(head, 0) == 0; }

// The rules a single path component follows; empty when it passes.
std::string componentProblem(const std::string& part, const char* what) {
    if (isBlank(part)) return std::string("Please enter a ") + what + ".";
    if (int(part.size()) > EDITOR_NAME_LIMIT) return std::string("The ") + what + " is too long.";
    if (part.find("..") != std::string::npos) return std::string("A ") + what + " may not hold \"..\".";
    for (char c : part) {
        if (c == '/' || c == '\\') return std::string("A ") + what + " may not hold \"/\" or \"\\\".";
        if (static_cast<unsigned char>(c) < 32 || c == 127) return std::string("A ") + what + " may not hold control characters.";
    }
    if (part[0] == '.') return std::string("A ") + what + " may not start with \".\".";
    return "";
}

bool removeIfThere(const std::string& path) { return std::remove(path.c_str()) == 0 || errno == ENOENT; }

bool isFolder(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

bool isCampaignFolderName(const std::string& folder) {
    return componentProblem(folder, "folder").empty() && folder.find('.') == std::string::npos &&
           folder.find("camp") != std::string::npos;
}

LevelPath resolveLevelPath(const std::string& mapsRoot, const std::string& folder, const std::string& name,
                           PathUse use) {
    LevelPath result;
    result.error = componentProblem(name, "name");
    if (!result.error.empty()) return result;
    std::string fileName = name;
    if (fileName.find('.') == std::string::npos) {
        fileName += LEVEL_EXTENSION;
    } else if (!endsWith(fileName, LEVEL_EXTENSION) || fileName.size() == std::strlen(LEVEL_EXTENSION)) {
        result.error = "Level names end in \".slv\".";
        return result;
    }
    if (isBlank(fileName.substr(0, fileName.size() - std::strlen(LEVEL_EXTENSION)))) {
        result.error = "Please enter a name.";
        return result;
    }
    if (use == PathUse::Save && int(fileName.size()) > EDITOR_NAME_LIMIT) {
        result.error = "A name has at most 27 characters before \".slv\".";
        return result;
    }
    std::string directory = mapsRoot;
    if (!folder.empty()) {
        if (!isCampaignFolderName(folder)) {
            result.error = "Levels go in maps/ or a campaign folder.";
            return result;
        }
        directory += "/" + folder;
        if (!isFolder(readableFile(directory))) {
            result.error = "There is no folder " + folder + ".";
            return result;
        }
    }
    result.ok = true;
    result.path = directory + "/" + fileName;
    return result;
}

std::string shownLevelPath(const std::string& folder, const std::string& fileName) {
    return "maps/" + (folder.empty() ? std::string() : folder + "/") + fileName;
}

std::string fileNameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ghostPathOf(const std::string& levelPath) {
    const size_t nameStart = levelPath.size() - fileNameOf(levelPath).size();
    const size_t dot = levelPath.find('.', nameStart);
    return levelPath.substr(0, dot) + ".gho";
}

std::string levelPlacementNote(const std::string& folder, const std::string& name) {
    if (!folder.empty()) {
        if (startsWith(name, "s-")) return "";
        return "The campaign lists only its levels named s-...";
    }
    if (startsWith(name, "ca-")) return "Castle attack lists ca- levels; time attack does not.";
    if (startsWith(name, "s-")) return "Time attack skips s- levels; only campaigns list them.";
    if (startsWith(name, "ra-")) return "Race and time attack both list ra- levels.";
    return "";
}

int saveEditorLevel(Level& level, const std::string& mapsRoot, const std::string& folder,
                    const std::string& name, std::string& error,
                    const std::vector<HeldKeys>* proof) {
    const LevelPath target = resolveLevelPath(mapsRoot, folder, name, PathUse::Save);
    if (!target.ok) {
        error = target.error;
        return -1;
    }
    if (level.blocks.empty()) {
        error = "The level has no blocks: nothing saved.";
        return -1;
    }
    // Castle attack mirrors a ca- level into twice its blocks, whose trigger
    // targets must fit their field: a bigger one could never be played.
    if (folder.empty() && startsWith(fileNameOf(target.path), "ca-") &&
        level.blockCount() > MAX_CASTLE_STORED_BLOCKS) {
        error = "A castle level holds at most " + std::to_string(MAX_CASTLE_STORED_BLOCKS) + " blocks.";
        return -1;
    }
    sortBlocksByZ(level.blocks.editAll());
    // Written among the player's files; one of a shipped level's name is
    // played instead of it from then on.
    if (writeLevelFile(userFileForWriting(target.path), level) != 0) {
        error = std::string("Could not save: ") + std::strerror(errno) + ".";
        return -1;
    }
    error.clear();
    if (!removeIfThere(userFile(ghostPathOf(target.path)))) error = "Saved, but its old ghost could not be removed.";
    const std::string proofPath = userFile(proofPathFor(target.path));
    if (proof && proof->empty() && !removeIfThere(proofPath))
        error = "Saved, but its old proof could not be removed.";
    if (proof && !proof->empty() && writeRecording(proofPath, *proof) != 0)
        error = "Saved, but its proof could not be written.";
    return 0;
}

int loadEditorLevel(Level& level, const std::string& mapsRoot, const std::string& folder,
                    const std::string& name, std::string& error) {
    const LevelPath source = resolveLevelPath(mapsRoot, folder, name);
    if (!source.ok) {
        error = source.error;
        return -1;
    }
    if (readLevelFile(readableFile(source.path), level) != 0) {
        error = "Could not read " + name + ".";
        return -1;
    }
    error.clear();
    return 0;
}
