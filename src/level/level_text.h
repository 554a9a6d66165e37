#pragma once

#include <string>

#include "level/level.h"

// The readable level text that authors write and `tavrelo-level dump`
// prints; tools/level/README.md describes it. Example:
//
//   medals 30000 40000 50000
//   block SPEED pos=300,0,0 size=600,500,600 repeat=1,1,1 tex=8,1 point=0,0,0 flags=MOVE period=4
//
// Blank lines and text after '#' are ignored. Omitted block fields take the
// values a new editor block has (repeat 1,1,1, the type's default textures,
// no second point, no flags).

struct LevelTextError {
    int line = 0;          // 1-based; 0 when not tied to a line
    std::string message;   // e.g. "unknown flag 'MOVEE'"
};

// 0, or -1 with `error` filled; `level` is only replaced on success.
// `oldForm` (may be null) tells whether the text asked for the old file form.
int parseLevelText(const std::string& text, Level& level, LevelTextError* error,
                   bool* oldForm = nullptr);

// The text of a level; parseLevelText of it gives the same stored fields.
std::string printLevelText(const Level& level, bool oldForm = false);

// "plain", "SPEED", ... "GOAL", "NOJUMP"; a number for types outside 0..11.
std::string blockTypeName(int type);
