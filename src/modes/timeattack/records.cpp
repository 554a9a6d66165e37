#include "modes/timeattack/records.h"

#include <algorithm>

#include "core/game_paths.h"

std::vector<RecordEntry> recordTable;

namespace {

bool startsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

bool isTimeAttackLevel(const std::string& name) {
    const std::string extension = ".slv";
    if (name.size() <= extension.size()) return false;
    if (name.compare(name.size() - extension.size(), extension.size(), extension) != 0) return false;
    return !startsWith(name, "ca-") && !startsWith(name, "s-");
}

}  // namespace

int scanMaps(const std::string& mapsDir, std::vector<RecordEntry>& table) {
    table.clear();
    // Shipped maps and the player's own together; the file time is that of
    // the file the game will play.
    for (const DirectoryEntry& file : listGameFolder(mapsDir)) {
        if (!isTimeAttackLevel(file.name) || !file.isRegularFile) continue;
        RecordEntry entry;
        entry.fileName = file.name;
        entry.fileTime = int32_t(file.modifiedTime);
        table.push_back(entry);
    }
    std::stable_sort(table.begin(), table.end(), [](const RecordEntry& a, const RecordEntry& b) {
        return fileNameBefore(a.fileName, b.fileName);
    });
    return int(table.size());
}

bool isNewRecord(int32_t runMs, uint32_t recordMs) {
    // Strictly below: matching the record exactly is no new record.
    return runMs >= 0 && uint32_t(runMs) < recordMs;
}

int medalFor(int32_t runMs, int32_t goldTime, int32_t silverTime, int32_t bronzeTime) {
    // A medal time of 0 is a level without that medal (the old level form has
    // none at all); a run that never started its clock must not earn gold
    // there.
    auto earns = [runMs](int32_t medalTime) { return medalTime > 0 && runMs <= medalTime; };
    if (earns(goldTime)) return MEDAL_GOLD;
    if (earns(silverTime)) return MEDAL_SILVER;
    if (earns(bronzeTime)) return MEDAL_BRONZE;
    return MEDAL_NONE;
}

bool hasRecord(const RecordEntry& entry) { return entry.recordTime < NO_RECORD_TIME; }

RecordTotals recordTotals(const std::vector<RecordEntry>& table) {
    RecordTotals totals;
    for (const RecordEntry& entry : table) {
        if (!hasRecord(entry)) continue;
        totals.records += 1;
        totals.totalMs += entry.recordTime;
    }
    if (totals.records > 0) totals.averageMs = totals.totalMs / uint64_t(totals.records);
    return totals;
}
