#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The one little-endian reader and writer of every binary file the game
// keeps (levels, records, ghosts, progress). The reader always knows how many
// bytes are left, so a short or damaged file can never make it read past the
// end, and a count from a file is checked against the bytes left before
// anything is allocated.

class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    explicit ByteReader(const std::vector<uint8_t>& bytes) : data_(bytes.data()), size_(bytes.size()) {}

    size_t remaining() const { return size_ - position_; }
    // True when count records of recordBytes each fit in what is left; a
    // negative count never fits.
    bool fits(int64_t count, size_t recordBytes) const;

    bool readInt32(int32_t& value);
    bool readInt32(uint32_t& value);
    // A field of fieldSize bytes; the text ends at the first NUL or at the
    // end of the field.
    bool readText(std::string& text, size_t fieldSize);

private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
};

class ByteWriter {
public:
    void writeInt32(int32_t value) { writeUint32(uint32_t(value)); }
    void writeUint32(uint32_t bits);
    // NUL-padded to fieldSize bytes; longer text is cut to the field.
    void writeText(const std::string& text, size_t fieldSize);
    const std::vector<uint8_t>& bytes() const { return bytes_; }
    std::vector<uint8_t> take() { return std::move(bytes_); }

private:
    std::vector<uint8_t> bytes_;
};

// The whole file, or false when it cannot be opened or read.
bool readWholeFile(const std::string& path, std::vector<uint8_t>& bytes);
// The same as text (a level text, for the tools).
bool readWholeFile(const std::string& path, std::string& text);

// Through writeFileAtomically (core/atomic_file.h): a temporary file beside
// the target renamed over it. Returns 0 or -1 with the old file untouched.
int writeBytesAtomically(const std::string& path, const std::vector<uint8_t>& bytes);
