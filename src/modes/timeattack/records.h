#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The time-attack record table: one entry per level at the top of maps/,
// rebuilt whenever the map list opens, and its file highscore.hsc. A record
// belongs to one version of a level file, by name and last-write time, so
// editing a level clears its record.

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

extern std::vector<RecordEntry> recordTable;

// Lists the time-attack levels of mapsDir (every *.slv except "ca-" and "s-"
// levels), sorted by name byte by byte. Returns the number found.
int scanMaps(const std::string& mapsDir, std::vector<RecordEntry>& table);

// Gives every entry the default record, then takes the records the file
// holds for the same name and file time. A missing or damaged file leaves
// the defaults.
void readHighscores(const std::string& path, std::vector<RecordEntry>& table);

// Writes one entry per table entry, atomically. Returns 0, or -1 with the
// old file untouched.
int writeHighscores(const std::string& path, const std::vector<RecordEntry>& table);

// The medal a run of runMs earns against the level's medal times; a medal
// time of 0 awards nothing.
int medalFor(int32_t runMs, int32_t goldTime, int32_t silverTime, int32_t bronzeTime);

// Sum of all record times (999999 for levels without one), wrapping as the
// unsigned 32-bit total does, and the average; 0 for an empty table.
uint32_t totalRecordTime(const std::vector<RecordEntry>& table);
uint32_t averageRecordTime(const std::vector<RecordEntry>& table);

// Signed byte order, a name that is a prefix of another first.
bool fileNameBefore(const std::string& a, const std::string& b);
