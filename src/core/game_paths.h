#pragma once

#include <string>
#include <vector>

#include "core/directory_listing.h"

// Where the game's files live. Three roots:
// - the data root holds what the game ships (gfx/, sounds/, shaders/ and the
//   shipped levels in maps/). The game runs inside it, so data paths stay
//   relative ("gfx/font1.png") and the data root is never written.
// - the user root holds what the player makes: highscore.hsc, ghosts,
//   campaign progress and the editor's levels, under the same relative
//   names ("maps/x.gho").
// - the config root holds the player's settings: settings.ini, gamepad.ini
//   and multiplayer.ini.
// Run from the build folder all three are that folder, every path is the
// relative one, and the game reads and writes exactly as it always did.
struct GameRoots {
    std::string data;    // absolute, or "." before the roots are chosen
    std::string user;    // absolute; equal to data when the two are one folder
    std::string config{};  // absolute; empty means the user root
};

// Chooses the roots at start-up; the command line's --data and --user win
// (empty means not given), and --user keeps the settings there too. A game
// whose executable has its data beside it (the build's runtime folder) keeps
// everything there; an installed one (<prefix>/games/tavrelo) reads
// <prefix>/share/games/tavrelo, keeps the player's files in
// $XDG_DATA_HOME/tavrelo (~/.local/share/tavrelo) and his settings in
// $XDG_CONFIG_HOME/tavrelo (~/.config/tavrelo). Without HOME the home folder
// is the password database's; with none at all the user and config roots
// are empty and nothing can be saved.
GameRoots chooseGameRoots(const std::string& executableFolder, const std::string& dataOverride,
                          const std::string& userOverride);

void setGameRoots(const GameRoots& roots);
const GameRoots& gameRoots();

// Creates the user root (and its maps/ folder) and the config root when
// they are missing. Returns false, with the folder and the reason in `why`
// ("/home/ada/.config/tavrelo (Permission denied)"), when one cannot be
// made or written; the game then plays on and saves
// nothing there.
bool prepareUserRoot(std::string& why);

// Settings files of earlier versions lie in the user root. Moves the one
// named `relative` to the config root, once: the new copy is written
// atomically and made durable (file and folder synced) before the old one
// is removed, so a crash at any point leaves at least one whole copy. A
// settings file already in the config root is never overwritten: an old copy
// with the same bytes (a move cut short) is removed, a different one kept.
// Returns false, with the reason in `why`, when the move failed; the old
// file then stays where it is and is tried again at the next start.
bool moveSettingsFileToConfigRoot(const std::string& relative, std::string& why);

// A file of the player's, by its relative name: "highscore.hsc" stays
// "highscore.hsc" while both roots are one folder, and becomes
// "<user root>/highscore.hsc" otherwise.
std::string userFile(const std::string& relative);

// A settings file by its relative name, in the config root.
std::string configFile(const std::string& relative);

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
