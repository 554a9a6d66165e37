#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "level/level.h"

// Level files: little-endian int32 records. The current form starts with the
// marker -1 and the three medal times, then the block count; any other first
// word is the block count of an old-form file (medal times 0). Each block is
// 16 int32: type, then the fifteen stored BlockBody fields.

constexpr int32_t LEVEL_FORM_MARKER = -1;
constexpr size_t LEVEL_BLOCK_RECORD_BYTES = 64;
constexpr size_t LEVEL_HEADER_BYTES = 20;      // current form
constexpr size_t LEVEL_OLD_HEADER_BYTES = 4;   // old form: the count only

// Parses a whole level file image into `level`. Returns 0, or -1 when the
// bytes are not a complete level (short header, negative count, a count the
// bytes cannot hold, a truncated record); on failure `level` is untouched.
// Bytes after the last record are ignored. Run-time fields start as a fresh
// load leaves them: `moving` -1 for start-triggered blocks, `movePeriod` set
// only for FLAG_MOVE blocks with a second point.
// `oldForm` (may be null) tells which form the bytes had.
int readLevel(const uint8_t* data, size_t size, Level& level, bool* oldForm = nullptr);
int readLevel(const std::vector<uint8_t>& bytes, Level& level, bool* oldForm = nullptr);

// Reads a level file. -1 when it cannot be opened or is damaged; the previous
// Level then stays as it was. Silent (race, castle attack, editor).
int readLevelFile(const std::string& path, Level& level);

// The single-player and time-attack loader: as readLevelFile, but a missing,
// damaged or empty (no blocks) level prints "Level not found." to standard
// error (no line break) and returns -1, keeping the previous Level.
int loadPlayLevel(const std::string& path, Level& level);

// The file image of a level. The game always writes the current form (a
// level read from an old-form file is saved with the marker and medal
// times); the level tool asks for the old form to rebuild such a file.
std::vector<uint8_t> levelBytes(const Level& level, bool oldForm = false);

// Sorts blocks by z, ascending, with the exchange sort whose order stored
// levels rely on. Before each swap of i and j every TARGET of a FLAG_HAS_TARGET
// block that names i is turned to j and vice versa, so trigger chains keep
// pointing at the same blocks.
void sortBlocksByZ(std::vector<Block>& blocks);

// True when no block has a smaller z than the one before it: the order the
// ground scan needs, which sortBlocksByZ leaves unchanged.
bool blocksSortedByZ(const Level& level);

// Writes the current form to `path` through a temporary file in the same
// folder renamed over the old one: a failed write leaves the old file whole.
// 0, or -1 when nothing could be written.
int writeLevelFile(const std::string& path, const Level& level);

// "maps/" + name, with ".slv" appended when the path holds no ".slv" and is
// shorter than 60 characters.
std::string completeLevelPath(const std::string& name);

// The editor's save: nothing when the level has no blocks; otherwise sorts
// the level's blocks (sortBlocksByZ) and writes "maps/" + completed name.
// 0 on success, -1 when there was nothing to write or the write failed.
int saveLevel(Level& level, const std::string& name);

// The most stored blocks a castle level may have: the doubled arena's block
// indices must fit the 13-bit TARGET field.
constexpr int MAX_CASTLE_STORED_BLOCKS = 4096;

// Castle attack: turns the n stored blocks into the 2n-block point-mirrored
// arena (copy of block i at 2n-1-i, mirrored about the centre of block 0 and
// the greatest far end), sorted as the writer sorts. Returns the index of
// the far start block (greatest z + length, the latest on ties), or -1 for a
// level without blocks or with more than MAX_CASTLE_STORED_BLOCKS (that one
// says so on standard error); the level is then untouched.
int buildCastleArena(Level& level);
