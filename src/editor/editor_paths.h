#pragma once

#include <string>

#include "level/level.h"

// Which files the editor may read and write. Names come from free text in
// the file dialog, so both save and load check them here themselves: a
// level lives at <maps>/<name>.slv or <maps>/<campaign folder>/<name>.slv
// and nowhere else.

constexpr int EDITOR_NAME_LIMIT = 31;  // characters of a name or folder

struct LevelPath {
    bool ok = false;
    std::string path;   // mapsRoot + "/" [+ folder + "/"] + name, ending in ".slv"
    std::string error;  // one line for the dialog when !ok
};

// Rules: the name is not empty, at most 31 characters, holds no "/", "\",
// ".." or control character and does not start with "."; a name with a "."
// must end in ".slv" (so no ghost, progress or description file can be
// named), any other gets ".slv" appended whatever its length. The folder is
// empty or one campaign folder directly under the maps folder (a name with
// "camp" in it, checked by the same rules, that exists as a folder).
LevelPath resolveLevelPath(const std::string& mapsRoot, const std::string& folder, const std::string& name);

// True when `folder` may be entered from the file dialog: a campaign folder
// name by the rules above (it need not exist).
bool isCampaignFolderName(const std::string& folder);

// Sorts the blocks by z with the TARGET fix-up and writes the level through
// the atomic level writer. 0, or -1 with `error` set: a refused name, a
// level without blocks, or a failed write (the old file is then kept whole).
int saveEditorLevel(Level& level, const std::string& mapsRoot, const std::string& folder,
                    const std::string& name, std::string& error);

// Reads either file form into `level`. 0, or -1 with `error` set; the level
// is then untouched.
int loadEditorLevel(Level& level, const std::string& mapsRoot, const std::string& folder,
                    const std::string& name, std::string& error);
