#pragma once

// Level files as the level tools take them: the text form (NAME.slv.txt) or
// a built level (NAME.slv), with the replay proof NAME.keys beside either.

#include <string>
#include <vector>

#include "level/level.h"
#include "level/proof_file.h"  // proofPathFor

// "s-01-hello" for ".../s-01-hello.slv.txt" or ".../s-01-hello.slv".
std::string levelNameOf(const std::string& path);

// Reads either form and hands back the level as the game loads it: a text
// is built as the level tool builds it (blocks sorted by z when they were
// not) and read back from its bytes. False with `error` ("file:line:
// message", or "file: cannot open") when the file cannot be used.
bool loadLevelSource(const std::string& path, Level& level, std::string& error);

// A level file found for the tools, with its label: the path below the
// folder searched (the file name for a file named itself), without suffix.
struct LevelFile {
    std::string path;
    std::string label;
};

// The level files named: a file as it is, a folder searched recursively,
// sorted by path; a built level whose text lies beside it is left out.
std::vector<LevelFile> findLevelFiles(const std::vector<std::string>& paths);
