// libFuzzer target: any bytes as highscore.hsc, read against a fixed map
// list. The entries read must be records a run can have; the map list's
// totals, a run's record check and the record screen's texts are computed
// on them; the table written back reads again to the same records.

#include <cinttypes>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_files.h"
#include "modes/timeattack/record_texts.h"
#include "modes/timeattack/records.h"
#include "sim/run_timer.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

void checkEntry(const RecordEntry& entry) {
    require(entry.recordTime <= uint32_t(INT32_MAX));
    require(entry.medal >= MEDAL_NONE && entry.medal <= MEDAL_BRONZE);
    require(entry.holder.size() < RECORD_HOLDER_SIZE);
}

// What the map list shows for the table: rows and footer.
void mapList(const std::vector<RecordEntry>& table) {
    uint64_t wide = 0;
    int records = 0;
    for (const RecordEntry& entry : table) {
        mapRowTexts(entry);
        if (hasRecord(entry)) wide += entry.recordTime, ++records;
    }
    const RecordTotals totals = recordTotals(table);
    require(totals.records == records && totals.totalMs == wide);
    require(records == 0 ? totals.averageMs == 0 : totals.averageMs == wide / uint64_t(records));
    mapListFooter(table);
}

Craft runOf(int32_t ms) {
    Craft craft;
    craft.timeMs = ms;
    craft.minutes = ms / 60000;
    craft.seconds = (ms / 1000) % 60;
    craft.msPart = ms % 1000;
    return craft;
}

// A run finishing around the record, then the record screen it would see.
void finishRuns(const RecordEntry& entry) {
    const int64_t record = entry.recordTime;
    const int64_t times[] = {0, 1, record - 1, record, record + 1, INT32_MAX};
    for (int64_t wide : times) {
        if (wide < 0 || wide > INT32_MAX) continue;
        const int32_t ms = int32_t(wide);
        const bool newRecord = isNewRecord(ms, entry.recordTime);
        require(newRecord == (wide < record));
        medalFor(ms, 30000, 40000, 50000);
        const Craft run = runOf(ms);
        const RecordScreenTexts texts = recordScreenTexts(run, &entry, newRecord);
        char expected[64];
        std::snprintf(expected, sizeof expected, "That's a difference of %" PRId64 " milliseconds.",
                      newRecord ? record - wide : wide - record);
        require(texts.difference == (hasRecord(entry) ? std::string(expected) : std::string()));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    std::vector<RecordEntry> table = fuzzMapTable();
    readHighscoreBytes(bytes, table);
    for (const RecordEntry& entry : table) checkEntry(entry);
    mapList(table);
    for (const RecordEntry& entry : table) finishRuns(entry);

    // Written and read again: the same records, and the same bytes again.
    const std::vector<uint8_t> written = highscoreBytes(table);
    require(written.size() == 4 + RECORD_ENTRY_SIZE * table.size());
    std::vector<RecordEntry> again = fuzzMapTable();
    readHighscoreBytes(written, again);
    for (size_t i = 0; i < table.size(); ++i) {
        require(again[i].recordTime == table[i].recordTime);
        require(again[i].holder == table[i].holder);
        require(again[i].medal == table[i].medal);
    }
    require(highscoreBytes(again) == written);
    return 0;
}
