#include "modes/timeattack/ghost_file.h"

#include <algorithm>

#include "core/byte_io.h"

namespace {
constexpr size_t SAMPLE_BYTES = 12;
}  // namespace

bool readGhostFile(const std::string& path, std::vector<GhostSample>& samples) {
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path, bytes)) {
        samples.clear();
        return false;
    }
    return readGhostBytes(bytes, samples);
}

bool readGhostBytes(const std::vector<uint8_t>& bytes, std::vector<GhostSample>& samples) {
    samples.clear();
    ByteReader reader(bytes);
    int32_t count = 0;
    if (!reader.readInt32(count) || count < 1 || !reader.fits(count, SAMPLE_BYTES)) return false;
    samples.resize(size_t(count));
    for (GhostSample& sample : samples) {
        reader.readInt32(sample.x);
        reader.readInt32(sample.y);
        reader.readInt32(sample.z);
    }
    return true;
}

int writeGhostFile(const std::string& path, const std::vector<GhostSample>& samples, size_t count) {
    return writeBytesAtomically(path, ghostFileBytes(samples, count));
}

std::vector<uint8_t> ghostFileBytes(const std::vector<GhostSample>& samples, size_t count) {
    count = std::min(count, samples.size());
    ByteWriter writer;
    writer.writeInt32(int32_t(count));
    for (size_t k = 0; k < count; ++k) {
        writer.writeInt32(samples[k].x);
        writer.writeInt32(samples[k].y);
        writer.writeInt32(samples[k].z);
    }
    return writer.take();
}
