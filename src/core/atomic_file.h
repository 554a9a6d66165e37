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

// Moves the file at `path` to a fresh temporary name beside it (removed like
// any leftover at the next write of `path`) and returns that name; empty
// when there was no file to move.
std::string moveAsideAsTemporary(const std::string& path);
