#pragma once

#include <string>
#include <vector>

// One pass over a folder: the names are taken in a single listing, so a
// folder that changes while it is read can never overflow a table sized by
// an earlier count.
struct DirectoryEntry {
    std::string name;
    bool isDirectory = false;
    bool isRegularFile = false;
};

// Every entry but "." and "..", in the platform's listing order; empty when
// the folder cannot be opened.
std::vector<DirectoryEntry> listDirectory(const std::string& path);

// Signed byte order, a name that is a prefix of another first: the order of
// the map and campaign level lists.
bool fileNameBefore(const std::string& a, const std::string& b);
