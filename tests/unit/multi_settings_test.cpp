#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "core/settings.h"
#include "modes/multi/multiplayer_settings_file.h"
#include "support/temp_dir.h"

namespace {

// The nine written lines with the given value texts.
std::string fileWith(const std::string& castleLives, const std::string& powerups, const std::string& castleGravity,
                     const std::string& raceLives, const std::string& raceGravity) {
    return "[CASTLE-ATTACK]\n" + castleLives + "\n" + powerups + "\n" + castleGravity + "\n\n[RACE]\n" + raceLives +
           "\n" + raceGravity + "\n\n";
}

TEST(MultiplayerSettingsRead, WrittenFormReadsBackEveryValue) {
    MultiplayerSettings values;
    values.castleLives = 10;
    values.powerups = false;
    values.castleGravity = 5;
    values.raceLives = 9;
    values.raceGravity = 10;
    MultiplayerSettings back = parseMultiplayerSettings(multiplayerSettingsText(values));
    EXPECT_EQ(back.castleLives, 10);
    EXPECT_FALSE(back.powerups);
    EXPECT_EQ(back.castleGravity, 5);
    EXPECT_EQ(back.raceLives, 9) << "the file holds race lives up to 10";
    EXPECT_EQ(back.raceGravity, 10);
}

TEST(MultiplayerSettingsRead, OutOfRangeValuesFallBackToTheirDefaults) {
    MultiplayerSettings read =
        parseMultiplayerSettings(fileWith("lives = 0", "powerups = 7", "gravity = 4", "lives = 11", "gravity = 11"));
    EXPECT_EQ(read.castleLives, 5) << "lives 0 reads as 5";
    EXPECT_TRUE(read.powerups) << "any nonzero number is on";
    EXPECT_EQ(read.castleGravity, 8) << "gravity 4 reads as 8";
    EXPECT_EQ(read.raceLives, 5);
    EXPECT_EQ(read.raceGravity, 8);
}

TEST(MultiplayerSettingsRead, LinesAreTakenByPositionNotByKey) {
    // The race section first: the keys are never looked at.
    MultiplayerSettings read =
        parseMultiplayerSettings(fileWith("gravity = 3", "lives = 0", "x = 6", "nonsense = 2", "y = 9"));
    EXPECT_EQ(read.castleLives, 3);
    EXPECT_FALSE(read.powerups);
    EXPECT_EQ(read.castleGravity, 6);
    EXPECT_EQ(read.raceLives, 2);
    EXPECT_EQ(read.raceGravity, 9);
}

TEST(MultiplayerSettingsRead, MissingEqualsGivesEachLinesOwnDefault) {
    MultiplayerSettings read = parseMultiplayerSettings(fileWith("lives 3", "powerups 0", "gravity 9", "lives 3", "g"));
    EXPECT_EQ(read.castleLives, 5) << "castle lives 0, then the range rule";
    EXPECT_TRUE(read.powerups);
    EXPECT_EQ(read.castleGravity, 8) << "1, then the range rule";
    EXPECT_EQ(read.raceLives, 1) << "race lives 1 is in range";
    EXPECT_EQ(read.raceGravity, 8);
}

TEST(MultiplayerSettingsRead, TheCharacterAfterEqualsIsSkipped) {
    MultiplayerSettings read = parseMultiplayerSettings(fileWith("lives=17", "powerups=", "gravity =6", "", ""));
    EXPECT_EQ(read.castleLives, 7) << "'=17' reads from the 7";
    EXPECT_FALSE(read.powerups) << "nothing after the '=' reads as 0";
    EXPECT_EQ(read.castleGravity, 8) << "'=6' skips the 6 and reads 0";
}

TEST(MultiplayerSettingsRead, EqualsAtTheEndOfA63CharacterPieceReadsNothingPastIt) {
    // 62 characters and '=': the piece ends right after the '='; the line's
    // rest ("9") is the next piece, which then takes the power-up line.
    std::string longLine(62, 'x');
    longLine += "=9";
    std::string text = "[CASTLE-ATTACK]\n" + longLine + "\ngravity = 6\n";
    MultiplayerSettings read = parseMultiplayerSettings(text);
    EXPECT_EQ(read.castleLives, 5) << "0 from the bare '=', then the range rule";
    EXPECT_TRUE(read.powerups) << "the piece \"9\" has no '='";
    EXPECT_EQ(read.castleGravity, 6) << "the long line took two pieces";
}

TEST(MultiplayerSettingsRead, AShortFileReadsTheMissingLinesAsLinesWithoutEquals) {
    MultiplayerSettings read = parseMultiplayerSettings("[CASTLE-ATTACK]\nlives = 3\n");
    EXPECT_EQ(read.castleLives, 3);
    EXPECT_TRUE(read.powerups);
    EXPECT_EQ(read.castleGravity, 8);
    EXPECT_EQ(read.raceLives, 1);
    EXPECT_EQ(read.raceGravity, 8);
    MultiplayerSettings empty = parseMultiplayerSettings("");
    EXPECT_EQ(empty.castleLives, 5);
    EXPECT_EQ(empty.raceLives, 1);
}

TEST(MultiplayerSettingsRead, HugeAndNegativeNumbersStayInRange) {
    MultiplayerSettings read = parseMultiplayerSettings(
        fileWith("lives = 99999999999999999999", "powerups = -0", "gravity = -2147483649", "lives = -5", "gravity = 7"));
    EXPECT_EQ(read.castleLives, 5);
    EXPECT_FALSE(read.powerups);
    EXPECT_EQ(read.castleGravity, 8);
    EXPECT_EQ(read.raceLives, 5);
    EXPECT_EQ(read.raceGravity, 7);
}

class MultiplayerSettingsFile : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(temp.ok()); }
    TempDir temp{"tavrelo-multi"};
};

TEST_F(MultiplayerSettingsFile, WritesExactlyTheNineLines) {
    MultiplayerSettings values;
    values.castleLives = 3;
    values.powerups = false;
    values.castleGravity = 6;
    values.raceLives = 9;
    values.raceGravity = 10;
    ASSERT_EQ(writeMultiplayerSettings(values, temp.file("multiplayer.ini")), 0);
    std::vector<uint8_t> bytes = temp.readBytes("multiplayer.ini");
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
              "[CASTLE-ATTACK]\nlives = 3\npowerups = 0\ngravity = 6\n\n[RACE]\nlives = 9\ngravity = 10\n\n");
    EXPECT_EQ(temp.names(), std::vector<std::string>{"multiplayer.ini"}) << "no temporary file left behind";
}

TEST_F(MultiplayerSettingsFile, AFailedWriteKeepsTheOldFile) {
    temp.write("multiplayer.ini", "old");
    MultiplayerSettings values;
    // A path in a folder that does not exist cannot be written.
    EXPECT_EQ(writeMultiplayerSettings(values, temp.file("missing/multiplayer.ini")), -1);
    std::vector<uint8_t> bytes = temp.readBytes("multiplayer.ini");
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "old");
}

TEST_F(MultiplayerSettingsFile, AMissingFileGivesTheDefaultsAndTheMessage) {
    testing::internal::CaptureStderr();
    MultiplayerSettings read = readMultiplayerSettings(temp.file("multiplayer.ini"));
    std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find("Error: multiplayer.ini not found - using default settings."), std::string::npos);
    EXPECT_EQ(read.castleLives, 5);
    EXPECT_EQ(read.raceLives, 5);
    EXPECT_EQ(read.castleGravity, 8);
    EXPECT_EQ(read.raceGravity, 8);
    EXPECT_TRUE(read.powerups);
}

TEST_F(MultiplayerSettingsFile, ReadsWhatItWrote) {
    temp.write("multiplayer.ini", fileWith("lives = 2", "powerups = 0", "gravity = 10", "lives = 9", "gravity = 5"));
    MultiplayerSettings read = readMultiplayerSettings(temp.file("multiplayer.ini"));
    EXPECT_EQ(read.castleLives, 2);
    EXPECT_FALSE(read.powerups);
    EXPECT_EQ(read.castleGravity, 10);
    EXPECT_EQ(read.raceLives, 9);
    EXPECT_EQ(read.raceGravity, 5);
}

TEST(SettingPieces, LinesAreCutAsA64ByteLineBufferCutsThem) {
    const std::string longLine(70, 'x');
    const std::vector<std::string> pieces = settingPieces("a = 1\n" + longLine + "\nlast");
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_EQ(pieces[0], "a = 1\n");
    EXPECT_EQ(pieces[1], std::string(63, 'x')) << "63 characters and no line break";
    EXPECT_EQ(pieces[2], std::string(7, 'x') + "\n");
    EXPECT_EQ(pieces[3], "last");
    const std::vector<std::string> withNul = settingPieces(std::string("b = 2\0 = 9\n", 11));
    ASSERT_EQ(withNul.size(), 1u);
    EXPECT_EQ(withNul[0], "b = 2") << "a NUL ends the piece's text";
    EXPECT_EQ(settingPieceValue("x =", 7), 0) << "'=' at the end reads nothing past it";
    EXPECT_EQ(settingPieceValue("x 5", 7), 7);
}

TEST(MultiplayerOptionCycles, LivesAndGravityCycleThroughTheirRanges) {
    EXPECT_EQ(nextCastleLives(9), 10);
    EXPECT_EQ(nextCastleLives(10), 1);
    EXPECT_EQ(nextRaceLives(8), 1);
    EXPECT_EQ(nextRaceLives(9), 2) << "race lives 9 from the file: (9 mod 8) + 1";
    EXPECT_EQ(nextRaceLives(10), 3);
    EXPECT_EQ(nextGravity(5), 6);
    EXPECT_EQ(nextGravity(10), 5);
    // Every start value reaches every value of its cycle.
    int lives = 1, seen = 0;
    for (int i = 0; i < 10; ++i) {
        seen |= 1 << lives;
        lives = nextCastleLives(lives);
    }
    EXPECT_EQ(seen, 0x7fe);
    EXPECT_EQ(lives, 1);
}

}  // namespace
