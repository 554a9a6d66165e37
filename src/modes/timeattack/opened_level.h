#pragma once

#include <string>

// A level file opened from anywhere (`tavrelo PATH/TO/LEVEL.slv`, a file
// manager): a time-attack run on it, and Escape leaves to the menu. A map
// of the time-attack list keeps its record in highscore.hsc as ever; any
// other file keeps its record and ghost in the user folder under opened/,
// named after the file, so it never touches a map's.

// Under the user folder: opened/<stem>.hsc and opened/<stem>.gho.
constexpr const char* OPENED_LEVELS_FOLDER = "opened";

// Whether the file can be driven: false, with the reason, when it cannot be
// read as a level with blocks.
bool isDrivableLevelFile(const std::string& path, std::string& why);

// Loads the file into the time-attack state with its record and switches
// there. -1 when it cannot be read; the current state then stays.
int startOpenedLevel(const std::string& absolutePath);
