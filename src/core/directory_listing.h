#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One pass over a folder: the names are taken in a single listing, so a
// folder that changes while it is read can never overflow a table sized by
// an earlier count.
struct DirectoryEntry {
    std::string name;
    bool isDirectory = false;
    bool isRegularFile = false;
    int64_t modifiedTime = 0;  // last write, seconds since 1970
};

// Every entry but "." and ".." and the file writer's temporary files, in the
// platform's listing order; empty when the folder cannot be opened. Every
// list of levels, maps and campaigns is taken from here.
std::vector<DirectoryEntry> listDirectory(const std::string& path);

// Signed byte order, a name that is a prefix of another first: the order of
// the map and campaign level lists.
bool fileNameBefore(const std::string& a, const std::string& b);
