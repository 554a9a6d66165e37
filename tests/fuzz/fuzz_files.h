#pragma once

// What the file fuzz targets and their seed writer share: the map table the
// record files are matched against, and a private folder for the files a
// target reads and writes.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

#include "modes/timeattack/records.h"

// The levels of the map list, as a scan of maps/ would give them.
inline std::vector<RecordEntry> fuzzMapTable() {
    // The last name is longer than the file's 64-byte field.
    static const char* const names[] = {
        "a.slv", "bridge.slv", "chain-reaction.slv",
        "a-level-name-that-runs-on-past-the-sixty-four-bytes-the-record-file-keeps.slv"};
    std::vector<RecordEntry> table;
    int32_t fileTime = 1700000000;
    for (const char* name : names) {
        RecordEntry entry;
        entry.fileName = name;
        entry.fileTime = fileTime;
        fileTime += 3600;
        table.push_back(entry);
    }
    return table;
}

// A folder of its own for this process, made on first use.
inline const std::string& fuzzFolder() {
    static const std::string folder = [] {
        char pattern[] = "/tmp/tavrelo-fuzz-XXXXXX";
        if (mkdtemp(pattern) == nullptr) std::abort();
        return std::string(pattern);
    }();
    return folder;
}

inline void writeFuzzFile(const std::string& path, const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);
}
