#include "sim/run_timer.h"

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
