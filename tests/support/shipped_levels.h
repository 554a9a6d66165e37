#pragma once

#include <string>
#include <vector>

// The levels the game ships: maps/**/<name>.slv.txt in the source tree, each
// with its replay proof <name>.keys beside it (the keys held in every physics
// step of a run that finishes the level).

struct ShippedLevel {
    std::string name;      // file name without ".slv.txt", e.g. "s-01-hello"
    std::string relative;  // path below maps/ without ".slv.txt", e.g. "gentle-camp/s-01-hello"
    std::string textPath;  // the level text
    std::string keysPath;  // where its proof belongs (the file may be missing)
};

// Every level below the source tree's maps/ (campaign folders included),
// sorted by relative path.
std::vector<ShippedLevel> findShippedLevels();

// Proof files below maps/ that have no level text beside them.
std::vector<std::string> orphanProofs();

// Which replay proves a level is decided by the prefix of its name: levels of
// a mode with its own rules start with that mode's prefix, and that mode's
// test replays them through its rules. A mode plugs in by adding its prefix
// and the name of its replaying test to levelProofRoutes() (shipped_levels.cpp)
// and calling shippedLevelsWithPrefix(prefix) in that test. Every other level
// is a time-attack level, replayed by TimeAttackLevel.EveryShippedLevelIsFinishedByItsRecording.
struct LevelProofRoute {
    std::string prefix;    // e.g. "s-"
    std::string provedBy;  // the replaying test, or what still has to write it
};
const std::vector<LevelProofRoute>& levelProofRoutes();

// The route of a level's name, or nullptr for a time-attack level.
const LevelProofRoute* proofRouteFor(const std::string& name);

// The shipped levels of one route (prefix), or the time-attack levels for "".
std::vector<ShippedLevel> shippedLevelsWithPrefix(const std::string& prefix);
