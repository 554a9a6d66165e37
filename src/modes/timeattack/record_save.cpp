#include "modes/timeattack/record_save.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

#include "core/atomic_file.h"
#include "core/game_paths.h"
#include "modes/timeattack/records.h"

namespace {

constexpr const char* MAPS_FOLDER = "maps";
constexpr const char* INCOMING = ".new-";  // the new ghost, waiting for its record
constexpr const char* OUTGOING = ".old-";  // the old ghost, dropped once the record is in

// "<ghost>.new-<file time>-<record ms>": names the record the switch serves.
std::string switchPath(const std::string& ghostPath, const char* kind, const RecordEntry& record) {
    return ghostPath + kind + std::to_string(record.fileTime) + "-" + std::to_string(record.recordTime);
}

void moveFile(const std::string& from, const std::string& to) {
    if (std::rename(from.c_str(), to.c_str()) == 0) syncFolderOf(to);
}

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// The ghost "<map>.gho" that `name` is, or is a switch file of; "" for any
// other file of the maps folder (levels, pictures, the player's own files).
std::string ghostOfFile(const std::string& name) {
    const std::size_t dot = name.find('.');
    if (dot == std::string::npos) return "";
    const std::string ghost = name.substr(0, dot) + ".gho";
    if (name == ghost || startsWith(name, ghost + INCOMING) || startsWith(name, ghost + OUTGOING)) return ghost;
    return "";
}

// Every regular file, the writer's temporaries included.
std::vector<std::string> regularFilesIn(const std::string& folder) {
    std::vector<std::string> names;
    DIR* directory = ::opendir(folder.c_str());
    if (directory == nullptr) return names;
    while (dirent* item = ::readdir(directory)) {
        struct stat info;
        const std::string path = folder + "/" + item->d_name;
        if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) names.push_back(item->d_name);
    }
    ::closedir(directory);
    return names;
}

// Whether the record file holds the record a switch file of `ghost` names.
bool recordIsIn(const std::vector<RecordEntry>& records, const std::string& ghost, const char* kind,
                const std::string& name) {
    for (const RecordEntry& record : records) {
        const std::string levelPath = std::string(MAPS_FOLDER) + "/" + record.fileName;
        if (ghostPathFor(levelPath) == std::string(MAPS_FOLDER) + "/" + ghost &&
            switchPath(ghost, kind, record) == name)
            return true;
    }
    return false;
}

}  // namespace

int saveRecordWithGhost(const Ghost& ghost, const std::string& levelPath, const RecordEntry& record,
                        const std::function<int()>& writeRecord) {
    if (ghostPathFor(levelPath).empty()) return writeRecord();
    const std::string ghostPath = userFileForWriting(ghostPathFor(levelPath));
    const std::string incoming = switchPath(ghostPath, INCOMING, record);
    const std::string outgoing = switchPath(ghostPath, OUTGOING, record);
    const bool newGhost = !ghost.recording.empty() &&
                          writeGhostFile(incoming, ghost.recording, size_t(ghost.sampleIndex) + 1) == 0;
    if (!newGhost) moveFile(ghostPath, outgoing);
    passSavePoint();
    if (writeRecord() != 0) {
        if (newGhost)
            ::unlink(incoming.c_str());
        else
            moveFile(outgoing, ghostPath);
        return -1;
    }
    if (newGhost)
        moveFile(incoming, ghostPath);
    else
        ::unlink(outgoing.c_str());
    passSavePoint();
    return 0;
}

void finishInterruptedRecordSaves() {
    std::vector<RecordEntry> records;
    scanMaps(MAPS_FOLDER, records);
    readHighscores(userFile(HIGHSCORE_FILE), records);
    removeLeftoverTemporaries(userFile(HIGHSCORE_FILE));
    const std::string folder = userFile(MAPS_FOLDER);
    for (const std::string& name : regularFilesIn(folder)) {
        const std::string path = folder + "/" + name;
        if (isTemporaryFileName(name)) {
            // A ghost write that never finished.
            if (!ghostOfFile(fileOfTemporary(name)).empty()) ::unlink(path.c_str());
            continue;
        }
        const std::string ghost = ghostOfFile(name);
        if (ghost.empty() || name == ghost) continue;
        const bool incoming = startsWith(name, ghost + INCOMING);
        const bool recorded = recordIsIn(records, ghost, incoming ? INCOMING : OUTGOING, name);
        // A new ghost whose record is in, or an old ghost whose record never
        // came, takes the ghost's name; the other two are dropped.
        if (incoming == recorded)
            moveFile(path, folder + "/" + ghost);
        else
            ::unlink(path.c_str());
    }
}
