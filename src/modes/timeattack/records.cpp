#include "modes/timeattack/records.h"

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

#include "core/byte_io.h"

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

bool fileNameBefore(const std::string& a, const std::string& b) {
    size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        signed char left = static_cast<signed char>(a[i]);
        signed char right = static_cast<signed char>(b[i]);
        if (left != right) return left < right;
    }
    return a.size() < b.size();
}

int scanMaps(const std::string& mapsDir, std::vector<RecordEntry>& table) {
    table.clear();
    DIR* directory = opendir(mapsDir.c_str());
    if (directory == nullptr) return 0;
    while (dirent* item = readdir(directory)) {
        std::string name = item->d_name;
        if (!isTimeAttackLevel(name)) continue;
        struct stat info;
        if (stat((mapsDir + "/" + name).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
        RecordEntry entry;
        entry.fileName = name;
        entry.fileTime = int32_t(info.st_mtime);
        table.push_back(entry);
    }
    closedir(directory);
    std::stable_sort(table.begin(), table.end(), [](const RecordEntry& a, const RecordEntry& b) {
        return fileNameBefore(a.fileName, b.fileName);
    });
    return int(table.size());
}

void readHighscores(const std::string& path, std::vector<RecordEntry>& table) {
    for (RecordEntry& entry : table) {
        entry.recordTime = NO_RECORD_TIME;
        entry.medal = MEDAL_NONE;
        entry.holder = DEFAULT_HOLDER;
    }
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path, bytes)) return;
    ByteReader reader(bytes);
    int32_t count = 0;
    if (!reader.readInt32(count) || count < 0) return;
    // Every stored entry is matched, also when levels were removed since the
    // file was written; entries cut off by a short file are dropped.
    for (int32_t k = 0; k < count && reader.remaining() >= RECORD_ENTRY_SIZE; ++k) {
        std::string fileName, holder;
        int32_t fileTime = 0, recordTime = 0, medal = 0;
        reader.readText(fileName, RECORD_FILE_NAME_SIZE);
        reader.readInt32(fileTime);
        reader.readInt32(recordTime);
        reader.readInt32(medal);
        reader.readText(holder, RECORD_HOLDER_SIZE);
        for (RecordEntry& entry : table) {
            if (entry.fileName.substr(0, RECORD_FILE_NAME_SIZE) != fileName || entry.fileTime != fileTime) continue;
            entry.recordTime = uint32_t(recordTime);
            entry.medal = (medal >= MEDAL_GOLD && medal <= MEDAL_BRONZE) ? medal : MEDAL_NONE;
            entry.holder = holder.substr(0, RECORD_HOLDER_SIZE - 1);
            break;
        }
    }
}

int writeHighscores(const std::string& path, const std::vector<RecordEntry>& table) {
    ByteWriter writer;
    writer.writeInt32(int32_t(table.size()));
    for (const RecordEntry& entry : table) {
        writer.writeText(entry.fileName, RECORD_FILE_NAME_SIZE);
        writer.writeInt32(entry.fileTime);
        writer.writeInt32(int32_t(entry.recordTime));
        writer.writeInt32(entry.medal);
        // The holder field always keeps its terminating NUL.
        writer.writeText(entry.holder.substr(0, RECORD_HOLDER_SIZE - 1), RECORD_HOLDER_SIZE);
    }
    return writeBytesAtomically(path, writer.bytes());
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

uint32_t totalRecordTime(const std::vector<RecordEntry>& table) {
    uint32_t total = 0;
    for (const RecordEntry& entry : table) total += entry.recordTime;
    return total;
}

uint32_t averageRecordTime(const std::vector<RecordEntry>& table) {
    if (table.empty()) return 0;
    return totalRecordTime(table) / uint32_t(table.size());
}
