#pragma once

#include <string>

#include "level/level.h"
#include "level/proof_file.h"

// Which files the editor may read and write. Names come from free text in
// the file dialog, so both save and load check them here themselves: a
// level lives at <maps>/<name>.slv or <maps>/<campaign folder>/<name>.slv
// and nowhere else.

// Characters of a typed name, of a folder and of a file name with its
// ".slv": the dialog's list shows no longer file names.
constexpr int EDITOR_NAME_LIMIT = 31;

struct LevelPath {
    bool ok = false;
    std::string path;   // mapsRoot + "/" [+ folder + "/"] + name, ending in ".slv"
    std::string error;  // one line for the dialog when !ok
};

enum class PathUse { Load, Save };

// Rules: the name is not empty or blank, at most 31 characters, holds no
// "/", "\", ".." or control character and does not start with "."; a name
// with a "." must end in ".slv" (so no ghost, progress or description file
// can be named), any other gets ".slv" appended. A name to save must stay
// within 31 characters with its ".slv" (27 before it), so the list shows it
// afterwards; loading still takes the longer names older saves made. The
// folder is empty or one campaign folder directly under the maps folder (a
// name with "camp" in it, checked by the same rules, that exists as a
// folder).
LevelPath resolveLevelPath(const std::string& mapsRoot, const std::string& folder, const std::string& name,
                           PathUse use = PathUse::Load);

// "maps/<file>" or "maps/<folder>/<file>" for the player, whatever folder
// the editor really works in.
std::string shownLevelPath(const std::string& folder, const std::string& fileName);

// The file name the path ends in.
std::string fileNameOf(const std::string& path);

// Time attack keeps a level's record run beside it, named after the level
// file up to its first "." ("maps/track.slv" -> "maps/track.gho").
std::string ghostPathOf(const std::string& levelPath);

// Where a level saved under this name will be listed, when that is not
// simply time attack: "ca-" and "s-" levels at the top of maps/, and levels
// in a campaign folder. Empty when there is nothing to say.
std::string levelPlacementNote(const std::string& folder, const std::string& name);

// True when `folder` may be entered from the file dialog: a campaign folder
// name by the rules above (it need not exist).
bool isCampaignFolderName(const std::string& folder);

// Sorts the blocks by z with the TARGET fix-up, writes the level through
// the atomic level writer and removes the level's ghost: a record run on the
// old track would fly through the new one. The proof beside it (NAME.keys)
// becomes `proof`; an empty one removes the old proof, which drove the old
// track; without one (null) the file is left as it is. 0, or -1 with
// `error` set: a refused name, a level without blocks, or a failed write
// (the old file, its ghost and its proof are then kept whole). On 0 `error`
// holds a warning when the old ghost or proof could not be removed or the
// proof not written.
int saveEditorLevel(Level& level, const std::string& mapsRoot, const std::string& folder,
                    const std::string& name, std::string& error,
                    const std::vector<HeldKeys>* proof = nullptr);

// Reads either file form into `level`. 0, or -1 with `error` set; the level
// is then untouched.
int loadEditorLevel(Level& level, const std::string& mapsRoot, const std::string& folder,
                    const std::string& name, std::string& error);
