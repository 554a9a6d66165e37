#pragma once

#include <string>
#include <vector>

#include "core/directory_listing.h"

// Where the game's files live. Two roots:
// - the data root holds what the game ships (gfx/, sounds/, shaders/ and the
//   shipped levels in maps/). The game runs inside it, so data paths stay
//   relative ("gfx/font1.png") and the data root is never written.
// - the user root holds what the player makes: settings.ini,
//   multiplayer.ini, highscore.hsc, ghosts, campaign progress and the
//   editor's levels, under the same relative names ("maps/x.gho").
// Run from the build folder both roots are that folder, every path is the
// relative one, and the game reads and writes exactly as it always did.
struct GameRoots {
    std::string data;  // absolute, or "." before the roots are chosen
    std::string user;  // absolute; equal to data when the two are one folder
};

// Chooses the roots at start-up; the command line's --data and --user win
// (empty means not given). A game whose executable has its data beside it
// (the build's runtime folder) keeps both there; an installed one
// (<prefix>/bin/tavrelo) reads <prefix>/share/tavrelo and keeps the player's
// files in $XDG_DATA_HOME/tavrelo, by default ~/.local/share/tavrelo.
GameRoots chooseGameRoots(const std::string& executableFolder, const std::string& dataOverride,
                          const std::string& userOverride);

void setGameRoots(const GameRoots& roots);
const GameRoots& gameRoots();

// Creates the user root (and its maps/ folder) when it is missing. Returns
// false, with the reason in `why`, when it cannot be made or written; the
// game then plays on and saves nothing.
bool prepareUserRoot(std::string& why);

// A file of the player's, by its relative name: "settings.ini" stays
// "settings.ini" while both roots are one folder, and becomes
// "<user root>/settings.ini" otherwise.
std::string userFile(const std::string& relative);

// As userFile, after creating the folders above the file (for a campaign's
// single.stat below a folder the player never had).
std::string userFileForWriting(const std::string& relative);

// Where to read a file that may be the player's or shipped: the player's
// copy when there is one (an editor level of the same name as a shipped
// one), else the shipped one.
std::string readableFile(const std::string& relative);

// A folder of levels as the game shows it: the shipped entries and the
// player's together, a name present in both shown once (the player's).
// The entries keep listDirectory's fields; callers read files through
// readableFile(folder + "/" + name).
std::vector<DirectoryEntry> listGameFolder(const std::string& relative);
