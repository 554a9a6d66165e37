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
    const bool before = entry != nullptr && hasRecord(*entry);
    const uint32_t record = before ? entry->recordTime : NO_RECORD_TIME;
    const TimeSplit split = splitTime(record);
    RecordScreenTexts texts;
    if (newRecord) {
        texts.yourTime = formatted("Your time was:       %2d:%02d:%02d", run.minutes, run.seconds, run.msPart / 10);
        texts.recordTime = before ? formatted("Old record time was: %2u:%02u:%02u", split.minutes, split.seconds,
                                              split.hundredths)
                                  : "This is the first record of this map.";
    } else {
        texts.yourTime = formatted("Your time was:  %2d:%02d:%02d", run.minutes, run.seconds, run.msPart / 10);
        texts.recordTime = before ? formatted("Record time is: %2u:%02u:%02u  by %s", split.minutes, split.seconds,
                                              split.hundredths, entry->holder.c_str())
                                  : "No record yet: a record run finishes within " + clockTimeText(NO_RECORD_TIME - 1) + ".";
    }
    if (before)
        texts.difference = formatted("That's a difference of %" PRId64 " milliseconds.",
                                     recordDifferenceMs(runTimeOf(run), record, newRecord));
    return texts;
}

MapRowTexts mapRowTexts(const RecordEntry& entry) {
    if (!hasRecord(entry)) return {"", NO_RECORD_TEXT};
    return {entry.holder, listTimeText(entry.recordTime)};
}

MapListFooter mapListFooter(const std::vector<RecordEntry>& table) {
    const RecordTotals totals = recordTotals(table);
    MapListFooter footer;
    footer.maps = formatted("Maps: %zu", table.size());
    if (totals.records == 0) {
        footer.total = "Total: no records yet";
        footer.average = "Average: none";
        return footer;
    }
    footer.total = formatted("Total of %d record%s: %s", totals.records, totals.records == 1 ? "" : "s",
                             listTimeText(totals.totalMs).c_str());
    footer.average = "Average: " + listTimeText(totals.averageMs);
    return footer;
}

const MedalLook* medalLook(int medal) {
    static const MedalLook looks[] = {
        {"Gold", 1.0f, 0.85f, 0.0f}, {"Silver", 0.7f, 0.7f, 0.7f}, {"Bronze", 0.8f, 0.5f, 0.3f}};
    return medal >= MEDAL_GOLD && medal <= MEDAL_BRONZE ? &looks[medal] : nullptr;
}

MedalTarget medalTarget(int32_t runMs, int32_t goldTime, int32_t silverTime, int32_t bronzeTime) {
    MedalTarget target;
    target.medal = medalFor(runMs, goldTime, silverTime, bronzeTime);
    const int32_t times[] = {goldTime, silverTime, bronzeTime};
    if (const MedalLook* look = medalLook(target.medal))
        target.text = std::string(look->name) + " " + clockTimeText(uint32_t(times[target.medal]));
    return target;
}
