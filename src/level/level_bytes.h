#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Little-endian int32 records. The reader knows how many bytes remain, so a
// count from a file can be checked before anything is allocated.
class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    size_t remaining() const { return size_ - offset_; }

    bool readInt32(int32_t& value) {
        if (remaining() < 4) return false;
        const uint8_t* p = data_ + offset_;
        uint32_t bits = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
        value = int32_t(bits);
        offset_ += 4;
        return true;
    }
    bool readInt32(uint32_t& value) {
        int32_t signedValue = 0;
        if (!readInt32(signedValue)) return false;
        value = uint32_t(signedValue);
        return true;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t offset_ = 0;
};

class ByteWriter {
public:
    void writeInt32(int32_t value) { writeUint32(uint32_t(value)); }
    void writeUint32(uint32_t bits) {
        for (int shift = 0; shift < 32; shift += 8) bytes_.push_back(uint8_t(bits >> shift));
    }
    std::vector<uint8_t> take() { return std::move(bytes_); }

private:
    std::vector<uint8_t> bytes_;
};
