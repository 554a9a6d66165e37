#include "modes/timeattack/records_file.h"

#include "core/byte_io.h"

void readHighscores(const std::string& path, std::vector<RecordEntry>& table) {
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path, bytes)) bytes.clear();
    readHighscoreBytes(bytes, table);
}

void readHighscoreBytes(const std::vector<uint8_t>& bytes, std::vector<RecordEntry>& table) {
    for (RecordEntry& entry : table) {
        entry.recordTime = NO_RECORD_TIME;
        entry.medal = MEDAL_NONE;
        entry.holder = DEFAULT_HOLDER;
    }
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
        // Run times are signed 32-bit milliseconds: a record of 2^31 ms or
        // more (a damaged or hand-edited file) is no time a run can have, so
        // the entry counts as no record, like one that matches no level.
        if (recordTime < 0) continue;
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
    return writeBytesAtomically(path, highscoreBytes(table));
}

std::vector<uint8_t> highscoreBytes(const std::vector<RecordEntry>& table) {
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
    return writer.take();
}
