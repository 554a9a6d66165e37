#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "modes/timeattack/records.h"
#include "sim/craft.h"

// The texts of the record screen, apart from drawing so that what a player
// reads can be checked without a window.

// The difference the screen shows: run − record without a new record,
// record − run with one. Computed wide, so no stored time can overflow it.
int64_t recordDifferenceMs(int32_t runMs, uint32_t recordMs, bool newRecord);

struct RecordScreenTexts {
    std::string yourTime;    // "Your time was: ..."
    std::string recordTime;  // "Record time is: ... by ...", "Old record time was: ..." or the first record
    std::string difference;  // "That's a difference of ... milliseconds."; empty without a record before
};

// entry may be null (no map selected): the level then has no record. A run
// on a level without a record compares with nothing: the screen says so
// instead of counting a difference to the file's no-record value.
RecordScreenTexts recordScreenTexts(const Craft& run, const RecordEntry* entry, bool newRecord);

// The line shown when a new record could not be written to the record file.
constexpr const char* RECORD_NOT_SAVED_TEXT = "The record could not be saved.";

// One row of the map list: the holder and the record time, or no holder and
// "no record".
struct MapRowTexts {
    std::string holder, time;
};
MapRowTexts mapRowTexts(const RecordEntry& entry);

// The map list's footer: the number of maps, then the total and the average
// of the records that exist, saying how many those are.
struct MapListFooter {
    std::string maps, total, average;
};
MapListFooter mapListFooter(const std::vector<RecordEntry>& table);

// How a medal is named and coloured on the screens.
struct MedalLook {
    const char* name;
    float red, green, blue;
};
// Gold, silver or bronze; null for MEDAL_NONE.
const MedalLook* medalLook(int medal);

// The medal a run still earns at runMs and the words beside the run's clock:
// "Gold 0:26:90", the time it must beat. No medal and no words once every
// medal time has passed, or on a level without medal times.
struct MedalTarget {
    int medal = MEDAL_NONE;
    std::string text;
};
MedalTarget medalTarget(int32_t runMs, int32_t goldTime, int32_t silverTime, int32_t bronzeTime);
