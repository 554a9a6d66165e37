#include "core/byte_io.h"

#include <cstdio>

#include "core/atomic_file.h"

bool ByteReader::fits(int64_t count, size_t recordBytes) const {
    if (count < 0) return false;
    if (recordBytes == 0) return true;
    return uint64_t(count) <= remaining() / recordBytes;
}

bool ByteReader::readInt32(int32_t& value) {
    if (remaining() < 4) return false;
    const uint8_t* p = data_ + position_;
    value = int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
    position_ += 4;
    return true;
}

bool ByteReader::readInt32(uint32_t& value) {
    int32_t signedValue = 0;
    if (!readInt32(signedValue)) return false;
    value = uint32_t(signedValue);
    return true;
}

bool ByteReader::readText(std::string& text, size_t fieldSize) {
    if (remaining() < fieldSize) return false;
    const char* start = reinterpret_cast<const char*>(data_ + position_);
    size_t length = 0;
    while (length < fieldSize && start[length] != '\0') ++length;
    text.assign(start, length);
    position_ += fieldSize;
    return true;
}

void ByteWriter::writeUint32(uint32_t bits) {
    for (int shift = 0; shift < 32; shift += 8) bytes_.push_back(uint8_t(bits >> shift));
}

void ByteWriter::writeText(const std::string& text, size_t fieldSize) {
    for (size_t i = 0; i < fieldSize; ++i) bytes_.push_back(i < text.size() ? uint8_t(text[i]) : 0);
}

bool readWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    bytes.clear();
    uint8_t chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    return !failed;
}

bool readWholeFile(const std::string& path, std::string& text) {
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path, bytes)) return false;
    text.assign(bytes.begin(), bytes.end());
    return true;
}

int writeBytesAtomically(const std::string& path, const std::vector<uint8_t>& bytes) {
    return writeFileAtomically(path, bytes.data(), bytes.size());
}
