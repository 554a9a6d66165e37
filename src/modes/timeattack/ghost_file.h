#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The ghost file <level>.gho: a count, then that many x, y, z positions of
// the record run, one per six physics steps. Reading and writing only; the
// replay lives in ghost.h.

struct GhostSample {
    int32_t x = 0, y = 0, z = 0;
};

// The stored samples, or false (and no samples) for a missing file, one
// without samples or one whose count does not fit its size.
bool readGhostFile(const std::string& path, std::vector<GhostSample>& samples);
// The same from the file's bytes.
bool readGhostBytes(const std::vector<uint8_t>& bytes, std::vector<GhostSample>& samples);

// The first `count` samples (at most all), atomically. Returns 0 or -1.
int writeGhostFile(const std::string& path, const std::vector<GhostSample>& samples, size_t count);
// The bytes writeGhostFile writes.
std::vector<uint8_t> ghostFileBytes(const std::vector<GhostSample>& samples, size_t count);
