#include "core/directory_listing.h"

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

#include "core/atomic_file.h"

std::vector<DirectoryEntry> listDirectory(const std::string& path) {
    std::vector<DirectoryEntry> entries;
    DIR* directory = opendir(path.c_str());
    if (directory == nullptr) return entries;
    while (dirent* item = readdir(directory)) {
        DirectoryEntry entry;
        entry.name = item->d_name;
        if (entry.name == "." || entry.name == ".." || isTemporaryFileName(entry.name)) continue;
        struct stat info;
        if (stat((path + "/" + entry.name).c_str(), &info) == 0) {
            entry.isDirectory = S_ISDIR(info.st_mode);
            entry.isRegularFile = S_ISREG(info.st_mode);
            entry.modifiedTime = int64_t(info.st_mtime);
        }
        entries.push_back(entry);
    }
    closedir(directory);
    return entries;
}

bool fileNameBefore(const std::string& a, const std::string& b) {
    size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        signed char left = static_cast<signed char>(a[i]);
        signed char right = static_cast<signed char>(b[i]);
        if (left != right) return left < right;
    }
    return a.size() < b.size();
}
