// Level files: both forms, damaged files, the writer's sort and TARGET
// fix-up, atomic saves, name completion, the text form and castle arenas.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <unistd.h>

#include "level/level_file.h"
#include "level/level_text.h"
#include "support/file_size_limit.h"
#include "support/sim_levels.h"
#include "support/temp_dir.h"

namespace {

std::vector<uint8_t> int32s(std::initializer_list<int32_t> values) {
    std::vector<uint8_t> bytes;
    for (int32_t v : values)
        for (int shift = 0; shift < 32; shift += 8) bytes.push_back(uint8_t(uint32_t(v) >> shift));
    return bytes;
}

std::vector<uint8_t> blockRecord(int32_t type, int32_t z, uint32_t flags = 0, int32_t pointX = 0) {
    return int32s({type, 300, 0, z, 600, 500, 600, 1, 1, 1, 8, 0, pointX, 0, 0, int32_t(flags)});
}

std::vector<uint8_t> concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class LevelReader : public ::testing::Test {
protected:
    Level previous = levelFromText("medals 1 2 3\nblock SPEED pos=7,8,9\n");
    void expectPreviousKept(const Level& level) {
        ASSERT_EQ(level.blockCount(), 1);
        EXPECT_EQ(level.blocks[0].type, BLOCK_SPEED);
        EXPECT_EQ(level.goldTime, 1);
    }
};

TEST_F(LevelReader, CurrentFormReadsMedalTimesAndRunTimeFields) {
    auto bytes = concat(int32s({-1, 30000, 40000, 50000, 2}),
                        concat(blockRecord(1, 0, FLAG_MOVE | FLAG_START_TRIGGER | (3u << 6), 900),
                               blockRecord(2, 600, FLAG_MOVE | (3u << 6), 0)));
    Level level = previous;
    bool oldForm = true;
    ASSERT_EQ(readLevel(bytes, level, &oldForm), 0);
    EXPECT_FALSE(oldForm);
    EXPECT_EQ(level.goldTime, 30000);
    EXPECT_EQ(level.bronzeTime, 50000);
    ASSERT_EQ(level.blockCount(), 2);
    EXPECT_EQ(level.blocks[0].body.movePeriod, 3);
    EXPECT_EQ(level.blocks[0].body.moving, -1);
    EXPECT_EQ(level.blocks[1].body.movePeriod, 0);  // no second point: never moves
    EXPECT_EQ(level.blocks[1].body.moving, 0);
}

TEST_F(LevelReader, AnyOtherFirstWordIsAnOldFormCount) {
    auto bytes = concat(int32s({1}), blockRecord(10, 0));
    Level level = previous;
    bool oldForm = false;
    ASSERT_EQ(readLevel(bytes, level, &oldForm), 0);
    EXPECT_TRUE(oldForm);
    EXPECT_EQ(level.goldTime, 0);
    ASSERT_EQ(level.blockCount(), 1);
    EXPECT_EQ(level.blocks[0].type, BLOCK_GOAL);
    // Saved again it takes the current form.
    std::vector<uint8_t> saved = levelBytes(level);
    EXPECT_EQ(saved.size(), 20u + 64u);
    EXPECT_EQ(saved[0], 0xff);
}

TEST_F(LevelReader, DamagedFilesFailAndKeepThePreviousLevel) {
    const std::vector<std::vector<uint8_t>> damaged = {
        {},                                                          // empty
        {0xff, 0xff},                                                // short first word
        int32s({-1, 1, 2}),                                          // short header
        int32s({-1, 0, 0, 0, -5}),                                   // negative count
        concat(int32s({-1, 0, 0, 0, 2}), blockRecord(0, 0)),         // count beyond the bytes
        concat(int32s({-1, 0, 0, 0, 1}), int32s({0, 1, 2, 3})),      // truncated record
        int32s({2000000000}),                                        // old form, huge count
        int32s({-2}),                                                // old form, negative count
    };
    for (const auto& bytes : damaged) {
        Level level = previous;
        EXPECT_EQ(readLevel(bytes, level), -1) << bytes.size() << " bytes";
        expectPreviousKept(level);
    }
}

// Every cut of a whole file, one byte at a time: the bytes-left checks hold
// at each field, not only at the 4-byte steps between them.
TEST_F(LevelReader, EveryOneByteCutOfAFileIsRefused) {
    const std::vector<std::vector<uint8_t>> files = {
        concat(concat(int32s({-1, 10, 20, 30, 2}), blockRecord(BLOCK_SPEED, 0)), blockRecord(BLOCK_GOAL, 600)),
        concat(int32s({2}), concat(blockRecord(BLOCK_SLOW, 0), blockRecord(BLOCK_HEAL, 600))),  // old form
        int32s({-1, 0, 0, 0, 0}),                                                              // no blocks
    };
    for (const auto& file : files) {
        Level whole;
        ASSERT_EQ(readLevel(file, whole), 0);
        for (size_t cut = 0; cut < file.size(); ++cut) {
            Level level = previous;
            const std::vector<uint8_t> bytes(file.begin(), file.begin() + std::ptrdiff_t(cut));
            EXPECT_EQ(readLevel(bytes, level), -1) << cut << " of " << file.size() << " bytes";
            expectPreviousKept(level);
        }
    }
    // Three bytes are no old-form count, and a header one byte short is no
    // empty level.
    Level level = previous;
    EXPECT_EQ(readLevel(std::vector<uint8_t>{5, 0, 0}, level), -1);
    std::vector<uint8_t> header = int32s({-1, 0, 0, 0, 0});
    header.pop_back();
    EXPECT_EQ(readLevel(header, level), -1);
    expectPreviousKept(level);
}

TEST_F(LevelReader, MissingFileFailsQuietlyAndThePlayLoaderSaysSo) {
    Level level = previous;
    EXPECT_EQ(readLevelFile("/nonexistent/x.slv", level), -1);
    expectPreviousKept(level);
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadPlayLevel("/nonexistent/x.slv", level), -1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Level not found.\n");
    expectPreviousKept(level);
}

class LevelFiles : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(temp.ok()); }
    TempDir temp{"tavrelo-level"};
};

TEST_F(LevelFiles, PlayLoaderRefusesALevelWithoutBlocks) {
    std::string path = temp.file("empty.slv");
    std::ofstream(path, std::ios::binary).write("\xff\xff\xff\xff\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 20);
    Level level = levelFromText("block GOAL pos=1,2,3\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadPlayLevel(path, level), -1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Level not found.\n");
    EXPECT_EQ(level.blockCount(), 1);
    EXPECT_EQ(readLevelFile(path, level), 0);  // the editor may open it
    EXPECT_EQ(level.blockCount(), 0);
}

TEST_F(LevelFiles, FailedWriteLeavesThePreviousFileWhole) {
    std::string path = temp.file("track.slv");
    Level first = levelFromText("block plain pos=1,2,3\n");
    ASSERT_EQ(writeLevelFile(path, first), 0);
    const std::vector<uint8_t> before = temp.readBytes("track.slv");
    ASSERT_EQ(before, levelBytes(first));

    // The second level needs more bytes than any file may take in the saving
    // child, so its write stops short.
    Level second = levelFromText("block SPEED pos=4,5,6\nblock SLOW pos=4,5,7\n");
    ASSERT_GT(levelBytes(second).size(), before.size());
    EXPECT_EQ(saveResultWithFileSizeLimit(before.size(), [&] { return writeLevelFile(path, second); }), -1)
        << "the failed save was reported as success";
    EXPECT_EQ(temp.readBytes("track.slv"), before);
    EXPECT_EQ(temp.names(), std::vector<std::string>{"track.slv"}) << "a temporary file was left behind";
    Level back;
    ASSERT_EQ(readLevelFile(path, back), 0);
    EXPECT_EQ(back.blockCount(), 1);

    // Without the limit the same save goes through.
    ASSERT_EQ(writeLevelFile(path, second), 0);
    EXPECT_EQ(temp.readBytes("track.slv"), levelBytes(second));
    EXPECT_EQ(temp.names(), std::vector<std::string>{"track.slv"});
}

TEST(LevelWriter, SortByZSwapsTargetsWithTheBlocks) {
    Level level = levelFromText(
        "block plain pos=0,0,3000 flags=TOUCH_TRIGGER,HAS_TARGET target=2\n"  // -> the block at z 1000
        "block SPEED pos=0,0,2000 flags=HAS_TARGET target=0\n"               // -> the block at z 3000
        "block SLOW pos=0,0,1000\n"
        "block HEAL pos=0,0,0 target=1\n");  // no HAS_TARGET: left alone
    sortBlocksByZ(level.blocks.editAll());
    ASSERT_EQ(level.blockCount(), 4);
    EXPECT_EQ(level.blocks[0].type, BLOCK_HEAL);
    EXPECT_EQ(level.blocks[1].type, BLOCK_SLOW);
    EXPECT_EQ(level.blocks[2].type, BLOCK_SPEED);
    EXPECT_EQ(level.blocks[3].type, BLOCK_PLAIN);
    EXPECT_EQ(level.blocks[3].body.z, 3000);
    EXPECT_EQ(level.blocks[size_t(targetOf(level.blocks[3].body.flags))].body.z, 1000);
    EXPECT_EQ(level.blocks[size_t(targetOf(level.blocks[2].body.flags))].body.z, 3000);
    EXPECT_EQ(targetOf(level.blocks[0].body.flags), 1);

    Level back;
    ASSERT_EQ(readLevel(levelBytes(level), back), 0);
    EXPECT_EQ(levelBytes(back), levelBytes(level));
}

// The exchange sort only swaps a block with a later one of smaller z: blocks
// of equal z keep their order (the start block stays the start block), and
// what it sorted once it leaves alone, so saving twice gives the same bytes.
TEST(LevelWriter, SortKeepsEqualZInOrderAndSavingTwiceGivesTheSameBytes) {
    Level level = levelFromText(
        "block plain pos=300,0,0 size=600,500,2000\n"   // 0: the start block
        "block SPEED pos=900,0,0 size=600,500,2000\n"   // 1: beside it, same z
        "block GOAL pos=300,0,4000\n"
        "block HEAL pos=300,0,4000\n"
        "block SLOW pos=300,0,2000\n");
    sortBlocksByZ(level.blocks.editAll());
    std::vector<int32_t> types;
    for (const Block& block : level.blocks) types.push_back(block.type);
    // SLOW trades places with GOAL, which so lands behind HEAL: the sort is
    // not stable across such a swap, and stored levels keep the order it
    // gives. Blocks it does not swap keep theirs, as the two at z 0 do.
    EXPECT_EQ(types, (std::vector<int32_t>{BLOCK_PLAIN, BLOCK_SPEED, BLOCK_SLOW, BLOCK_HEAL, BLOCK_GOAL}));
    EXPECT_EQ(level.blocks[0].body.x, 300) << "the start block is still block 0";

    const std::vector<uint8_t> once = levelBytes(level);
    sortBlocksByZ(level.blocks.editAll());
    EXPECT_EQ(levelBytes(level), once);

    Level two = levelFromText("block plain pos=300,0,0\nblock NOJUMP pos=300,0,0\n");
    sortBlocksByZ(two.blocks.editAll());
    EXPECT_EQ(two.blocks[0].type, BLOCK_PLAIN);
    EXPECT_EQ(two.blocks[1].type, BLOCK_NOJUMP);
}

TEST(LevelWriter, NameCompletion) {
    EXPECT_EQ(completeLevelPath("track"), "maps/track.slv");
    EXPECT_EQ(completeLevelPath("track.slv"), "maps/track.slv");
    EXPECT_EQ(completeLevelPath("a.slv.old"), "maps/a.slv.old");
    std::string longName(55, 'x');  // "maps/" + 55 = 60 characters: unchanged
    EXPECT_EQ(completeLevelPath(longName), "maps/" + longName);
    EXPECT_EQ(completeLevelPath(longName.substr(1)), "maps/" + longName.substr(1) + ".slv");
}

TEST(LevelWriter, SaveDoesNothingWithoutBlocks) {
    Level empty;
    EXPECT_EQ(saveLevel(empty, "never-written-level"), -1);
    std::ifstream probe("maps/never-written-level.slv");
    EXPECT_FALSE(probe.good());
}

TEST(LevelText, PrintThenParseGivesTheSameBytes) {
    Level level = levelFromText(
        "medals 100 200 300\n"
        "block NOJUMP pos=-5,6,7 size=1,2,3 repeat=4,5,6 tex=9,10 point=11,12,13 "
        "flags=MOVE_ONCE,CHANGE_TYPE,MOVE,HAS_TARGET,TOUCH_TRIGGER,START_TRIGGER,PONG,CHECKPOINT,PUSHER,BONUS,POWERUP "
        "period=31 target=8191 newtype=7\n"
        "block 99 pos=0,0,0\n");
    EXPECT_EQ(level.blocks[0].body.flags, 0xffffffffu);
    Level again;
    LevelTextError error;
    ASSERT_EQ(parseLevelText(printLevelText(level), again, &error), 0) << error.message;
    EXPECT_EQ(levelBytes(again), levelBytes(level));
}

TEST(LevelText, OldFormRoundTripsByteForByte) {
    auto bytes = concat(int32s({2}), concat(blockRecord(3, 0), blockRecord(4, 600)));
    Level level;
    bool oldForm = false;
    ASSERT_EQ(readLevel(bytes, level, &oldForm), 0);
    std::string text = printLevelText(level, oldForm);
    Level again;
    bool againOld = false;
    ASSERT_EQ(parseLevelText(text, again, nullptr, &againOld), 0);
    EXPECT_TRUE(againOld);
    EXPECT_EQ(levelBytes(again, againOld), bytes);
}

TEST(LevelText, ErrorsNameTheLine) {
    struct Case {
        const char* text;
        int line;
        const char* fragment;
    } cases[] = {
        {"block FOO pos=1,2,3\n", 1, "unknown block type 'FOO'"},
        {"\n# fine\nblock plain\n", 3, "pos="},
        {"block plain pos=1,2\n", 1, "3 comma-separated"},
        {"block plain pos=1,2,99999999999\n", 1, "not a 32-bit integer"},
        {"block plain pos=1,2,3 flags=MOVEE\n", 1, "unknown flag 'MOVEE'"},
        {"block plain pos=1,2,3 period=32\n", 1, "0..31"},
        {"block plain pos=1,2,3 target=8192\n", 1, "0..8191"},
        {"block plain pos=1,2,3 colour=red\n", 1, "unknown field 'colour'"},
        {"block plain pos=1,2,3 pos=1,2,3\n", 1, "twice"},
        {"medals 1 2\n", 1, "medals"},
        {"blok plain pos=1,2,3\n", 1, "unknown keyword"},
    };
    for (const Case& c : cases) {
        Level level = levelFromText("block GOAL pos=1,1,1\n");
        LevelTextError error;
        EXPECT_EQ(parseLevelText(c.text, level, &error), -1) << c.text;
        EXPECT_EQ(error.line, c.line) << c.text;
        EXPECT_NE(error.message.find(c.fragment), std::string::npos) << c.text << " -> " << error.message;
        EXPECT_EQ(level.blockCount(), 1);  // untouched on error
    }
}

TEST(LevelText, OmittedFieldsTakeTheNewBlockDefaults) {
    Level level = levelFromText("block ICE pos=1,2,3\n");
    const BlockBody& body = level.blocks[0].body;
    EXPECT_EQ(body.width, 600);
    EXPECT_EQ(body.height, 500);
    EXPECT_EQ(body.length, 600);
    EXPECT_EQ(body.sideTexture, 6);
    EXPECT_EQ(body.topTexture, 6);
    EXPECT_EQ(body.texRepeatY, 1);
}

// The level tool itself: dump then build reproduces the file byte for byte.
TEST(LevelTool, DumpThenBuildReproducesTheFile) {
    const char* build = std::getenv("TAVRELO_BUILD_DIR");
    if (!build) GTEST_SKIP() << "TAVRELO_BUILD_DIR not set";
    std::string tool = std::string(build) + "/tools/tavrelo-level";
    if (access(tool.c_str(), X_OK) != 0) GTEST_SKIP() << "tavrelo-level not built";
    Level level = levelFromText("medals 5 6 7\nblock SPEED pos=1,2,3 flags=HAS_TARGET,TOUCH_TRIGGER target=1\n"
                                "block GOAL pos=1,2,600 point=3,4,5 flags=PONG\n");
    TempDir temp("tavrelo-tool");
    ASSERT_TRUE(temp.ok());
    const std::string base = temp.file("track");
    std::vector<uint8_t> bytes = levelBytes(level);
    std::ofstream(base + ".slv", std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    ASSERT_EQ(std::system((tool + " dump " + base + ".slv > " + base + ".txt").c_str()), 0);
    ASSERT_EQ(std::system((tool + " build " + base + ".txt -o " + base + "-2.slv 2> " + base + ".err").c_str()), 0);
    EXPECT_EQ(temp.readBytes("track-2.slv"), bytes);
    EXPECT_TRUE(temp.readBytes("track.err").empty()) << "a sorted level builds without a word";
}

// A text whose blocks are out of z order is built sorted, as the editor
// saves, with its targets following their blocks, and the tool says so.
TEST(LevelTool, BuildSortsAnUnsortedTextByZAndSaysSo) {
    const char* build = std::getenv("TAVRELO_BUILD_DIR");
    if (!build) GTEST_SKIP() << "TAVRELO_BUILD_DIR not set";
    std::string tool = std::string(build) + "/tools/tavrelo-level";
    if (access(tool.c_str(), X_OK) != 0) GTEST_SKIP() << "tavrelo-level not built";
    const std::string text =
        "block GOAL pos=300,0,4000\n"
        "block plain pos=300,0,0 flags=TOUCH_TRIGGER,HAS_TARGET target=2\n"  // -> the SPEED block
        "block SPEED pos=300,0,2000 flags=CHANGE_TYPE newtype=4\n";
    TempDir temp("tavrelo-tool");
    ASSERT_TRUE(temp.ok());
    const std::string base = temp.file("unsorted");
    std::ofstream(base + ".txt") << text;
    ASSERT_EQ(std::system((tool + " build " + base + ".txt -o " + base + ".slv 2> " + base + ".err").c_str()), 0);
    std::vector<uint8_t> message = temp.readBytes("unsorted.err");
    EXPECT_NE(std::string(message.begin(), message.end()).find("not in z order; sorted by z"), std::string::npos);

    Level built;
    ASSERT_EQ(readLevel(temp.readBytes("unsorted.slv"), built), 0);
    ASSERT_EQ(built.blockCount(), 3);
    EXPECT_EQ(built.blocks[0].type, BLOCK_PLAIN);
    EXPECT_EQ(built.blocks[1].type, BLOCK_SPEED);
    EXPECT_EQ(built.blocks[2].type, BLOCK_GOAL);
    EXPECT_EQ(targetOf(built.blocks[0].body.flags), 1) << "the trigger still fires the SPEED block";

    // The same level written by the game builds back without a word.
    Level expected = levelFromText(text);
    sortBlocksByZ(expected.blocks.editAll());
    EXPECT_EQ(levelBytes(built), levelBytes(expected));
}

TEST(CastleArena, MirrorsIntoTwiceTheBlocksWithTargetsAndItems) {
    Level level = levelFromText(
        "block plain pos=300,0,0 size=600,500,1000\n"
        "block SPEED pos=500,0,1000 size=400,500,1000 flags=HAS_TARGET,TOUCH_TRIGGER target=0\n"
        "block plain pos=300,0,2000 size=600,500,500 point=100,0,2200 flags=POWERUP\n"
        "block plain pos=300,0,2500 size=600,500,500 point=800,0,2600 flags=MOVE period=2\n");
    int farStart = buildCastleArena(level);
    ASSERT_EQ(level.blockCount(), 8);
    // Centre x = 300 - 600 / 2 = 0; greatest far end 3000.
    for (int i = 1; i < 8; ++i) EXPECT_LE(level.blocks[size_t(i - 1)].body.z, level.blocks[size_t(i)].body.z);
    const Block& far = level.blocks[size_t(farStart)];
    EXPECT_EQ(int64_t(far.body.z) + far.body.length, 6000);
    EXPECT_EQ(far.body.x, 300);  // 0 - (300 - 600)
    // The mirrored SPEED block still targets the mirror of block 0.
    int mirroredSpeed = -1;
    for (int i = 0; i < 8; ++i)
        if (level.blocks[size_t(i)].type == BLOCK_SPEED && level.blocks[size_t(i)].body.z == 6000 - 2000) mirroredSpeed = i;
    ASSERT_GE(mirroredSpeed, 0);
    EXPECT_EQ(level.blocks[size_t(mirroredSpeed)].body.x, 0 - (500 - 400));
    const Block& target = level.blocks[size_t(targetOf(level.blocks[size_t(mirroredSpeed)].body.flags))];
    EXPECT_EQ(target.body.z, 5000);
    EXPECT_EQ(target.type, BLOCK_PLAIN);
    for (const Block& block : level.blocks) {
        if (block.body.has(FLAG_POWERUP) && block.body.z > 3000) {
            EXPECT_EQ(block.body.pointX, -100);
            EXPECT_EQ(block.body.pointY, 6000 - 0);  // pointY 0 mirrors about 2 x 3000
        }
        if (block.body.has(FLAG_MOVE) && block.body.z > 3000) {
            EXPECT_EQ(block.body.pointX, 0 - (800 - 600));
            EXPECT_EQ(block.body.pointZ, 6000 - (500 + 2600));
        }
    }
    Level none;
    EXPECT_EQ(buildCastleArena(none), -1);
}

// The arena is point-symmetric: what one half lacks the other lacks too.
TEST(CastleArena, CopiesCarryNoItemOrTargetTheOriginalLacks) {
    Level level = levelFromText(
        "block plain pos=1300,0,0 size=600,500,1000\n"  // centre x 1000: a mirrored 0 would be 2000
        "block plain pos=1300,0,1000 size=600,500,1000 point=0,1500,0 flags=POWERUP\n"
        "block plain pos=1300,0,2000 size=600,500,1000 flags=TOUCH_TRIGGER,HAS_TARGET target=3\n");
    ASSERT_EQ(buildCastleArena(level), 5);
    for (const Block& block : level.blocks) {
        if (block.body.has(FLAG_POWERUP)) {
            EXPECT_EQ(block.body.pointX, 0) << "z " << block.body.z;
        }
        // Target 3 lies outside the stored half; neither the block nor its copy
        // may come to point at a mirrored block.
        if (block.body.has(FLAG_TOUCH_TRIGGER)) {
            EXPECT_FALSE(block.body.has(FLAG_HAS_TARGET)) << "z " << block.body.z;
        }
    }
}

// Copies are stored at 2n-1-i and TARGET has 13 bits: 4096 stored blocks
// still fit, one more would wrap the copies' targets onto the wrong blocks.
class CastleArenaSize : public ::testing::Test {
protected:
    // n blocks end to end; the last one targets block 0.
    static Level chain(int n) {
        std::vector<Block> blocks(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) {
            BlockBody& body = blocks[size_t(i)].body;
            body.x = 300;
            body.z = i * 1000;
            body.width = 600;
            body.height = 500;
            body.length = 1000;
        }
        blocks.back().body.flags = withTarget(FLAG_HAS_TARGET | FLAG_TOUCH_TRIGGER, 0);
        Level level;
        level.blocks = std::move(blocks);
        return level;
    }
};

TEST_F(CastleArenaSize, FourThousandNinetySixBlocksStillMirror) {
    Level level = chain(MAX_CASTLE_STORED_BLOCKS);
    ASSERT_GE(buildCastleArena(level), 0);
    ASSERT_EQ(level.blockCount(), 2 * MAX_CASTLE_STORED_BLOCKS);
    // The copy of the last block starts the mirrored half and targets the
    // copy of block 0, the arena's last block.
    const Block& copy = level.blocks[size_t(MAX_CASTLE_STORED_BLOCKS)];
    ASSERT_TRUE(copy.body.has(FLAG_HAS_TARGET));
    EXPECT_EQ(targetOf(copy.body.flags), 2 * MAX_CASTLE_STORED_BLOCKS - 1);
}

TEST_F(CastleArenaSize, OneBlockMoreIsRefusedWithAMessage) {
    Level level = chain(MAX_CASTLE_STORED_BLOCKS + 1);
    const std::vector<uint8_t> before = levelBytes(level);
    testing::internal::CaptureStderr();
    EXPECT_EQ(buildCastleArena(level), -1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Castle level has 4097 blocks; a castle level holds at most 4096.\n");
    EXPECT_EQ(levelBytes(level), before) << "a refused level is left as it was";
}

}  // namespace
