#include "sim/run_timer.h"

#include <cstdio>

#include "sim/physics.h"

void addStepTime(Craft& craft) {
    if (craft.phase == 2) addRunTime(craft, STEP_MS);
}

void addRunTime(Craft& craft, int elapsedMs) {
    craft.timeMs += elapsedMs;
    craft.msPart += elapsedMs;
    if (craft.msPart > 999) {
        craft.msPart -= 1000;
        craft.seconds += 1;
    }
    if (craft.seconds > 59) {
        craft.seconds -= 60;
        craft.minutes += 1;
    }
}

TimeSplit splitTime(uint32_t ms) { return {ms / 60000, (ms / 1000) % 60, (ms % 1000) / 10}; }

int32_t runTimeOf(const Craft& craft) { return craft.msPart + 1000 * craft.seconds + 60000 * craft.minutes; }

namespace {
std::string timeText(const char* format, uint64_t ms) {
    char text[48];
    std::snprintf(text, sizeof text, format, static_cast<unsigned long long>(ms / 60000), unsigned(ms / 1000 % 60),
                  unsigned(ms % 1000 / 10));
    return text;
}
}  // namespace

std::string listTimeText(uint64_t ms) { return timeText("%2llu: %02u: %02u", ms); }
std::string clockTimeText(uint64_t ms) { return timeText("%llu:%02u:%02u", ms); }
