#include "level/level_file.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

#include "core/atomic_file.h"
#include "core/byte_io.h"
#include "core/game_paths.h"
#include "core/wrapping.h"

namespace {

constexpr int STORED_FIELDS = 15;

// The fourteen signed stored fields before the flags, in file order.
int32_t* signedField(BlockBody& body, int index) {
    int32_t* fields[STORED_FIELDS - 1] = {
        &body.x, &body.y, &body.z, &body.width, &body.height, &body.length,
        &body.texRepeatX, &body.texRepeatY, &body.texRepeatZ, &body.sideTexture, &body.topTexture,
        &body.pointX, &body.pointY, &body.pointZ};
    return fields[index];
}

// The run-time fields a fresh load gives a block.
void prepareLoadedBody(BlockBody& body) {
    body.changedType = 0;
    body.changedTypeTime = 0;
    body.pulse = 0.0f;
    body.moveTime = 0;
    body.movePeriod = (body.pointX != 0 && body.has(FLAG_MOVE)) ? movePeriodOf(body.flags) : 0;
    body.moving = body.has(FLAG_START_TRIGGER) ? -1 : 0;
}

bool readBlock(ByteReader& reader, Block& block) {
    if (!reader.readInt32(block.type)) return false;
    for (int i = 0; i < STORED_FIELDS - 1; ++i)
        if (!reader.readInt32(*signedField(block.body, i))) return false;
    if (!reader.readInt32(block.body.flags)) return false;
    prepareLoadedBody(block.body);
    return true;
}

bool readFileBytes(const std::string& path, std::vector<uint8_t>& bytes) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    bytes.clear();
    uint8_t chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
    bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

void swapTargets(std::vector<Block>& blocks, int i, int j) {
    for (Block& block : blocks) {
        if (!block.body.has(FLAG_HAS_TARGET)) continue;
        int target = targetOf(block.body.flags);
        if (target == i)
            block.body.flags = withTarget(block.body.flags, j);
        else if (target == j)
            block.body.flags = withTarget(block.body.flags, i);
    }
}

Block mirroredCopy(const Block& original, int64_t centreX2, int64_t farEnd2, int copyTarget) {
    Block copy = original;
    BlockBody& body = copy.body;
    const BlockBody& from = original.body;
    body.x = wrapped(centreX2 - (int64_t(from.x) - from.width));
    body.z = wrapped(farEnd2 - (int64_t(from.z) + from.length));
    if (from.pointX != 0 && from.has(FLAG_MOVE)) {
        body.pointX = wrapped(centreX2 - (int64_t(from.pointX) - from.width));
        body.pointZ = wrapped(farEnd2 - (int64_t(from.length) + from.pointZ));
    } else if (from.pointX != 0 && from.has(FLAG_POWERUP)) {
        // Only a powerup that is there (pointX not 0) is mirrored: moved to
        // 2cx, a flag without its item would put one in the copy alone.
        body.pointX = wrapped(centreX2 - from.pointX);
        body.pointY = wrapped(farEnd2 - from.pointY);
    }
    body.flags = withTarget(from.flags, copyTarget);
    return copy;
}

}  // namespace

int readLevel(const uint8_t* data, size_t size, Level& level, bool* oldForm) {
    ByteReader reader(data, size);
    Level loaded;
    int32_t first = 0;
    if (!reader.readInt32(first)) return -1;
    int32_t count = first;
    bool old = first != LEVEL_FORM_MARKER;
    if (!old) {
        if (!reader.readInt32(loaded.goldTime) || !reader.readInt32(loaded.silverTime) ||
            !reader.readInt32(loaded.bronzeTime) || !reader.readInt32(count))
            return -1;
    }
    // The count is checked against the bytes left before anything is allocated.
    if (!reader.fits(count, LEVEL_BLOCK_RECORD_BYTES)) return -1;
    std::vector<Block> blocks(static_cast<size_t>(count));
    for (Block& block : blocks)
        if (!readBlock(reader, block)) return -1;
    loaded.blocks = std::move(blocks);
    level = std::move(loaded);
    if (oldForm) *oldForm = old;
    return 0;
}

int readLevel(const std::vector<uint8_t>& bytes, Level& level, bool* oldForm) {
    return readLevel(bytes.data(), bytes.size(), level, oldForm);
}

int readLevelFile(const std::string& path, Level& level) {
    std::vector<uint8_t> bytes;
    if (!readFileBytes(path, bytes)) return -1;
    return readLevel(bytes, level);
}

int loadPlayLevel(const std::string& path, Level& level) {
    std::vector<uint8_t> bytes;
    Level loaded;
    if (!readFileBytes(readableFile(path), bytes) || readLevel(bytes, loaded) != 0 || loaded.blocks.empty()) {
        std::fputs("Level not found.\n", stderr);
        return -1;
    }
    level = std::move(loaded);
    return 0;
}

std::vector<uint8_t> levelBytes(const Level& level, bool oldForm) {
    ByteWriter writer;
    if (!oldForm) {
        writer.writeInt32(LEVEL_FORM_MARKER);
        writer.writeInt32(level.goldTime);
        writer.writeInt32(level.silverTime);
        writer.writeInt32(level.bronzeTime);
    }
    writer.writeInt32(level.blockCount());
    for (const Block& block : level.blocks) {
        writer.writeInt32(block.type);
        BlockBody body = block.body;
        for (int i = 0; i < STORED_FIELDS - 1; ++i) writer.writeInt32(*signedField(body, i));
        writer.writeUint32(body.flags);
    }
    return writer.take();
}

void sortBlocksByZ(std::vector<Block>& blocks) {
    int n = int(blocks.size());
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            if (blocks[j].body.z < blocks[i].body.z) {
                swapTargets(blocks, i, j);
                std::swap(blocks[i], blocks[j]);
            }
        }
    }
}

bool blocksSortedByZ(const Level& level) {
    for (size_t i = 1; i < level.blocks.size(); ++i)
        if (level.blocks[i].body.z < level.blocks[i - 1].body.z) return false;
    return true;
}

int writeLevelFile(const std::string& path, const Level& level) {
    std::vector<uint8_t> bytes = levelBytes(level);
    return writeFileAtomically(path, bytes.data(), bytes.size());
}

std::string completeLevelPath(const std::string& name) {
    std::string path = "maps/" + name;
    if (path.find(".slv") == std::string::npos && path.size() < 60) path += ".slv";
    return path;
}

int saveLevel(Level& level, const std::string& name) {
    if (level.blocks.empty()) return -1;
    sortBlocksByZ(level.blocks.editAll());
    return writeLevelFile(userFileForWriting(completeLevelPath(name)), level);
}

int buildCastleArena(Level& level) {
    int n = level.blockCount();
    if (n == 0) return -1;
    // Copies are stored at 2n-1-i and targets are 13 bits: beyond 4096 stored
    // blocks a copy's target would wrap and fire the wrong block.
    if (n > MAX_CASTLE_STORED_BLOCKS) {
        std::fprintf(stderr, "Castle level has %d blocks; a castle level holds at most %d.\n", n,
                     MAX_CASTLE_STORED_BLOCKS);
        return -1;
    }
    std::vector<Block>& blocks = level.blocks.editAll();
    const BlockBody& first = blocks[0].body;
    int64_t centreX2 = 2 * (int64_t(first.x) - first.width / 2);
    int64_t farEnd = int64_t(first.z) + first.length;
    for (const Block& block : blocks) farEnd = std::max(farEnd, int64_t(block.body.z) + block.body.length);
    int64_t farEnd2 = 2 * farEnd;
    // A target outside the stored half is no target: in the doubled arena it
    // would otherwise come to name one of the mirrored copies.
    for (Block& block : blocks)
        if (targetOf(block.body.flags) >= n) block.body.flags &= ~FLAG_HAS_TARGET;
    blocks.resize(size_t(2 * n));
    for (int i = 0; i < n; ++i) {
        int target = targetOf(blocks[i].body.flags);
        int copyTarget = target < n ? 2 * n - 1 - target : target;
        blocks[2 * n - 1 - i] = mirroredCopy(blocks[i], centreX2, farEnd2, copyTarget);
    }
    sortBlocksByZ(blocks);
    int farStart = 0;
    int64_t greatest = INT64_MIN;
    for (int i = 0; i < 2 * n; ++i) {
        int64_t end = int64_t(blocks[i].body.z) + blocks[i].body.length;
        if (end >= greatest) {
            greatest = end;
            farStart = i;
        }
    }
    return farStart;
}
