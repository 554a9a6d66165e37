#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Little-endian records of int32 and fixed-size text fields, as the record
// and ghost files store them. The reader always knows how many bytes are
// left, so a short or damaged file can never make it read past the end.

class ByteReader {
public:
    explicit ByteReader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}

    size_t remaining() const { return bytes_.size() - position_; }
    bool readInt32(int32_t& value);
    // A field of fieldSize bytes; the text ends at the first NUL or at the
    // end of the field.
    bool readText(std::string& text, size_t fieldSize);

private:
    const std::vector<uint8_t>& bytes_;
    size_t position_ = 0;
};

class ByteWriter {
public:
    void writeInt32(int32_t value);
    // NUL-padded to fieldSize bytes; longer text is cut to the field.
    void writeText(const std::string& text, size_t fieldSize);
    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

// The whole file, or false when it cannot be opened or read.
bool readWholeFile(const std::string& path, std::vector<uint8_t>& bytes);

// Through writeFileAtomically (core/atomic_file.h): a temporary file beside
// the target renamed over it. Returns 0 or -1 with the old file untouched.
int writeBytesAtomically(const std::string& path, const std::vector<uint8_t>& bytes);
