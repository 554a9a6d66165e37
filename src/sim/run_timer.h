#pragma once

#include <cstdint>
#include <string>

#include "sim/craft.h"

// The run clock shows the time its steps stand for: every completed physics
// step of a started run (phase 2) adds STEP_MS, so a slow renderer or a
// stalled frame never changes a run's time (addStepTime).
void addStepTime(Craft& craft);

// Each call carries into seconds and minutes at most once, so after a very
// long addition the millisecond split can stay above 999 until the next
// call: the shown split and the total then differ for a moment, which stored
// records never see because they keep the total.
void addRunTime(Craft& craft, int elapsedMs);

// A time in milliseconds as minutes, seconds and hundredths.
struct TimeSplit {
    uint32_t minutes, seconds, hundredths;
};
TimeSplit splitTime(uint32_t ms);

// The run time as its split shows it.
int32_t runTimeOf(const Craft& craft);

// Times in milliseconds as minutes, seconds and hundredths for the screens:
// the lists write "m: ss: hh", the result screens and the HUD "m:ss:hh".
std::string listTimeText(uint64_t ms);
std::string clockTimeText(uint64_t ms);
// What a list or result screen writes where a level has no record.
constexpr const char* NO_RECORD_TEXT = "no record";
