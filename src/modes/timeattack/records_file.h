#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The record file highscore.hsc: a count, then one fixed-size entry per level.
// Reading and writing only; the table itself lives in records.h.

constexpr uint32_t NO_RECORD_TIME = 999999;
constexpr const char* DEFAULT_HOLDER = "Brannoc";

enum Medal : int { MEDAL_NONE = -1, MEDAL_GOLD = 0, MEDAL_SILVER = 1, MEDAL_BRONZE = 2 };

// Fixed field sizes of the record file: 64 + 4 + 4 + 4 + 32 = 108 bytes.
constexpr size_t RECORD_FILE_NAME_SIZE = 64;
constexpr size_t RECORD_HOLDER_SIZE = 32;
constexpr size_t RECORD_ENTRY_SIZE = 108;

constexpr const char* HIGHSCORE_FILE = "highscore.hsc";

struct RecordEntry {
    int32_t fileTime = 0;                 // level file's last-write time, seconds since 1970
    uint32_t recordTime = NO_RECORD_TIME;  // milliseconds
    std::string fileName;                  // such as "x.slv"; the file keeps its first 64 bytes
    std::string holder = DEFAULT_HOLDER;   // at most 31 bytes
    int32_t medal = MEDAL_NONE;
};

// Gives every entry the default record, then takes the records the file
// holds for the same name and file time. A missing or damaged file leaves
// the defaults; a stored record time of 2^31 ms or more counts as no record.
void readHighscores(const std::string& path, std::vector<RecordEntry>& table);
// The same from the file's bytes (empty: no file).
void readHighscoreBytes(const std::vector<uint8_t>& bytes, std::vector<RecordEntry>& table);

// Writes one entry per table entry, atomically. Returns 0, or -1 with the
// old file untouched.
int writeHighscores(const std::string& path, const std::vector<RecordEntry>& table);
// The bytes writeHighscores writes.
std::vector<uint8_t> highscoreBytes(const std::vector<RecordEntry>& table);
