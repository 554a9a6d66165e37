#include "modes/timeattack/record_texts.h"

#include <cinttypes>
#include <cstdarg>
#include <cstdio>

#include "sim/run_timer.h"

namespace {

std::string formatted(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string formatted(const char* format, ...) {
    char text[128];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    return text;
}

}  // namespace

int64_t recordDifferenceMs(int32_t runMs, uint32_t recordMs, bool newRecord) {
    const int64_t run = runMs, record = recordMs;
    return newRecord ? record - run : run - record;
}

RecordScreenTexts recordScreenTexts(const Craft& run, const RecordEntry* entry, bool newRecord) {
    const uint32_t record = entry ? entry->recordTime : NO_RECORD_TIME;
    const TimeSplit split = splitTime(record);
    const int64_t difference = recordDifferenceMs(runTimeOf(run), record, newRecord);
    RecordScreenTexts texts;
    if (newRecord) {
        texts.yourTime = formatted("Your time was:       %2d:%02d:%02d", run.minutes, run.seconds, run.msPart / 10);
        texts.recordTime =
            formatted("Old record time was: %2u:%02u:%02u", split.minutes, split.seconds, split.hundredths);
    } else {
        texts.yourTime = formatted("Your time was:  %2d:%02d:%02d", run.minutes, run.seconds, run.msPart / 10);
        texts.recordTime = formatted("Record time is: %2u:%02u:%02u  by %s", split.minutes, split.seconds,
                                     split.hundredths, entry ? entry->holder.c_str() : DEFAULT_HOLDER);
    }
    texts.difference = formatted("That's a difference of %" PRId64 " milliseconds.", difference);
    return texts;
}
