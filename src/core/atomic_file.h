#pragma once

#include <cstddef>
#include <string>

// Every file the game writes goes through here: the bytes go to a temporary
// file in the same folder, every write, the fsync and the close are checked,
// and only then is the temporary renamed over the target. A full disk or a
// file-size limit leaves the old file whole and no temporary file behind; a
// temporary left by a crash is removed the next time the same file is
// written. Returns 0 on success, -1 on failure (errno tells why).
int writeFileAtomically(const std::string& path, const void* data, std::size_t size);
int writeFileAtomically(const std::string& path, const std::string& contents);

// The writer's temporary files are named "<file>.tmp-XXXXXX" beside their
// file (six letters or digits); no list the game shows ever holds one.
bool isTemporaryFileName(const std::string& name);
// The name of the file a temporary was written for ("a.slv" of
// "a.slv.tmp-Ab12Cd"); "" when `name` is no temporary.
std::string fileOfTemporary(const std::string& name);

// Removes what a crash left between creating a temporary of `path` and
// renaming it: only the temporaries of that very file.
void removeLeftoverTemporaries(const std::string& path);

// Makes renames and removals in the folder of `path` survive a power cut.
void syncFolderOf(const std::string& path);

// The points a save passes, in order: inside every atomic write (temporary
// made, bytes written, closed, renamed into place) and between the steps of
// a save that changes several files. A test hook called at each lets the
// tests kill a save at every one of them in turn; without one they cost a
// null check.
using SavePointHook = void (*)();
void setSavePointHook(SavePointHook hook);
void passSavePoint();
