#pragma once

#include <cstdint>
#include <string>

#include "modes/timeattack/records.h"
#include "sim/craft.h"

// The texts of the record screen, apart from drawing so that what a player
// reads can be checked without a window.

// The difference the screen shows: run − record without a new record,
// record − run with one. Computed wide, so no stored time can overflow it.
int64_t recordDifferenceMs(int32_t runMs, uint32_t recordMs, bool newRecord);

struct RecordScreenTexts {
    std::string yourTime;    // "Your time was: ..."
    std::string recordTime;  // "Record time is: ... by ..." or "Old record time was: ..."
    std::string difference;  // "That's a difference of ... milliseconds."
};

// entry may be null (no map selected): the default record then stands.
RecordScreenTexts recordScreenTexts(const Craft& run, const RecordEntry* entry, bool newRecord);

// The line shown when a new record could not be written to the record file.
constexpr const char* RECORD_NOT_SAVED_TEXT = "The record could not be saved.";
