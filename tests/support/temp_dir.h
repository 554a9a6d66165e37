#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A fresh folder under /tmp for one test, removed with everything in it when
// the object goes. ok() is false when the folder could not be made; tests
// assert it before use.
class TempDir {
public:
    explicit TempDir(const std::string& prefix);
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    bool ok() const { return !path_.empty(); }
    const std::string& path() const { return path_; }
    // The path of `name` inside the folder.
    std::string file(const std::string& name) const { return path_ + "/" + name; }

    void write(const std::string& name, const std::string& text) const;
    // The whole file, empty when it cannot be read.
    std::vector<uint8_t> readBytes(const std::string& name) const;
    // Every entry but "." and "..", sorted.
    std::vector<std::string> names() const;

private:
    std::string path_;
};
