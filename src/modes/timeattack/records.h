#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/directory_listing.h"
#include "modes/timeattack/records_file.h"

// The time-attack record table: one entry per level at the top of maps/,
// rebuilt whenever the map list opens, and its file highscore.hsc. A record
// belongs to one version of a level file, by name and last-write time, so
// editing a level clears its record.

extern std::vector<RecordEntry> recordTable;

// Lists the time-attack levels of mapsDir (every *.slv except "ca-" and "s-"
// levels), sorted by name byte by byte. Returns the number found.
int scanMaps(const std::string& mapsDir, std::vector<RecordEntry>& table);

// The goal's test: a run strictly faster than the record.
bool isNewRecord(int32_t runMs, uint32_t recordMs);

// The medal a run of runMs earns against the level's medal times; a medal
// time of 0 awards nothing.
int medalFor(int32_t runMs, int32_t goldTime, int32_t silverTime, int32_t bronzeTime);

// Whether a level has a record: the file keeps 999999 (or more) for none.
bool hasRecord(const RecordEntry& entry);

// The records that exist: how many, their sum and average (0 when none).
struct RecordTotals {
    int records = 0;
    uint64_t totalMs = 0;
    uint64_t averageMs = 0;
};
RecordTotals recordTotals(const std::vector<RecordEntry>& table);
