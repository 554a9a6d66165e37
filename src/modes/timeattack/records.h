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

// Sum of all record times (999999 for levels without one), wrapping as the
// unsigned 32-bit total does, and the average; 0 for an empty table.
uint32_t totalRecordTime(const std::vector<RecordEntry>& table);
uint32_t averageRecordTime(const std::vector<RecordEntry>& table);
