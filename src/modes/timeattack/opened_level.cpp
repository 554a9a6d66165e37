#include "modes/timeattack/opened_level.h"

#include <GL/gl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>

#include "core/game_paths.h"
#include "level/level_file.h"
#include "modes/timeattack/records.h"
#include "modes/timeattack/time_attack.h"

namespace {

std::string fileNameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

std::string realPathOf(const std::string& path) {
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) ? std::string(resolved) : std::string();
}

// The list's entry for the file, or -1: the same name in maps/ and the
// same file the list would play.
int mapListIndexOf(const std::string& absolutePath, std::vector<RecordEntry>& table) {
    const std::string name = fileNameOf(absolutePath);
    scanMaps("maps", table);
    for (size_t i = 0; i < table.size(); ++i)
        if (table[i].fileName == name && realPathOf(readableFile("maps/" + name)) == absolutePath) return int(i);
    return -1;
}

int64_t modifiedTimeOf(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? int64_t(info.st_mtime) : 0;
}

}  // namespace

bool isDrivableLevelFile(const std::string& path, std::string& why) {
    Level level;
    if (readLevelFile(path, level) != 0) {
        why = "not a level file";
        return false;
    }
    if (level.blocks.empty()) {
        why = "a level without blocks";
        return false;
    }
    return true;
}

int startOpenedLevel(const std::string& absolutePath) {
    TimeAttack& play = stateObject<TimeAttack>(STATE_TIMEATTACK);
    const std::string name = fileNameOf(absolutePath);
    const int listed = mapListIndexOf(absolutePath, recordTable);
    std::string keptAs = "maps/" + name;
    if (listed >= 0) {
        play.recordsFile = HIGHSCORE_FILE;
        play.mapIndex = listed;
    } else {
        // opened/<stem>.slv: its ghost is named after the path's first dot,
        // so the stem's own dots become "_".
        std::string stem = name.size() > 4 && name.compare(name.size() - 4, 4, ".slv") == 0
                               ? name.substr(0, name.size() - 4) : name;
        for (char& c : stem)
            if (c == '.') c = '_';
        keptAs = std::string(OPENED_LEVELS_FOLDER) + "/" + stem + ".slv";
        // Named as kept, so an interrupted record save can be finished at
        // the next start from the switch file's name alone.
        RecordEntry entry;
        entry.fileName = stem + ".slv";
        entry.fileTime = int32_t(modifiedTimeOf(absolutePath));
        recordTable.assign(1, entry);
        play.recordsFile = std::string(OPENED_LEVELS_FOLDER) + "/" + stem + ".hsc";
        play.mapIndex = 0;
    }
    readHighscores(userFile(play.recordsFile), recordTable);
    play.exitState = STATE_MENU;
    if (play.run.loadLevel(absolutePath, keptAs) != 0) return -1;
    glEnable(GL_LIGHTING);
    switchToState(STATE_TIMEATTACK);
    return 0;
}
