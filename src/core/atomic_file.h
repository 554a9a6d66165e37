#pragma once

#include <cstddef>
#include <string>

// Every file the game writes goes through here: the bytes go to a temporary
// file in the same folder, every write, the fsync and the close are checked,
// and only then is the temporary renamed over the target. A crash or a full
// disk leaves the old file whole and no temporary file behind.
// Returns 0 on success, -1 on failure (errno tells why).
int writeFileAtomically(const std::string& path, const void* data, std::size_t size);
int writeFileAtomically(const std::string& path, const std::string& contents);
