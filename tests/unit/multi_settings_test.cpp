#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include "core/settings.h"
#include "core/state_ids.h"
#include "modes/multi/mode_sel_m.h"
#include "modes/multi/multiplayer_settings_file.h"
#include "modes/multi/race_m.h"
#include "support/temp_dir.h"
#include "support/two_player_fixtures.h"

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

// One file text and the five values read from it.
struct ReadCase {
    const char* what;
    std::string text;
    int castleLives;
    bool powerups;
    int castleGravity, raceLives, raceGravity;
};

TEST(MultiplayerSettingsRead, ValuesAreReadByPositionAndKeptInRange) {
    // 62 characters and '=': the 63-character piece ends right after the
    // '='; the line's rest ("9") is the next piece and takes the power-up line.
    const std::string longLine = std::string(62, 'x') + "=9";
    const ReadCase cases[] = {
        {"out of range: lives 0 and 11 read as 5, gravity 4 and 11 as 8, any nonzero power-up number is on",
         fileWith("lives = 0", "powerups = 7", "gravity = 4", "lives = 11", "gravity = 11"), 5, true, 8, 5, 8},
        {"lines are taken by position, never by key (the race section first)",
         fileWith("gravity = 3", "lives = 0", "x = 6", "nonsense = 2", "y = 9"), 3, false, 6, 2, 9},
        {"no '=': each line's own default (castle lives 0 and gravity 1, then the range rule; race lives 1)",
         fileWith("lives 3", "powerups 0", "gravity 9", "lives 3", "g"), 5, true, 8, 1, 8},
        {"the character after '=' is skipped: '=17' reads from the 7, a bare '=' and '=6' read 0",
         fileWith("lives=17", "powerups=", "gravity =6", "", ""), 7, false, 8, 1, 8},
        {"'=' at the end of a 63-character piece reads nothing past it; the long line takes two pieces",
         "[CASTLE-ATTACK]\n" + longLine + "\ngravity = 6\n", 5, true, 6, 1, 8},
        {"a short file reads the missing lines as lines without '='", "[CASTLE-ATTACK]\nlives = 3\n", 3, true, 8, 1, 8},
        {"an empty file", "", 5, true, 8, 1, 8},
        {"huge and negative numbers stay in range",
         fileWith("lives = 99999999999999999999", "powerups = -0", "gravity = -2147483649", "lives = -5", "gravity = 7"),
         5, false, 8, 5, 7},
    };
    for (const ReadCase& c : cases) {
        const MultiplayerSettings read = parseMultiplayerSettings(c.text);
        EXPECT_EQ(read.castleLives, c.castleLives) << c.what;
        EXPECT_EQ(read.powerups, c.powerups) << c.what;
        EXPECT_EQ(read.castleGravity, c.castleGravity) << c.what;
        EXPECT_EQ(read.raceLives, c.raceLives) << c.what;
        EXPECT_EQ(read.raceGravity, c.raceGravity) << c.what;
    }
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

// multiplayer.ini cannot be written (a folder stands in its place): Enter
// on a race map keeps the players on the selection once, saying so; the
// next Enter races with the settings they chose all the same.
TEST_F(TwoPlayerLevel, AChoiceThatCannotBeSavedIsToldOnceAndStillPlayed) {
    char saved[4096];
    ASSERT_NE(getcwd(saved, sizeof saved), nullptr);
    ASSERT_EQ(chdir(temp.path().c_str()), 0);
    ASSERT_EQ(mkdir("maps", 0755), 0);
    ASSERT_EQ(mkdir(MULTIPLAYER_FILE, 0755), 0);
    writeLevel("block plain pos=1200,0,0 size=2400,500,6000\n", "maps/ra-x.slv");
    ModeSelM selection;
    RaceM race;
    Gamestate* const savedStates[] = {stateTable[STATE_MODESELM], stateTable[STATE_RACEM], currentState};
    stateTable[STATE_MODESELM] = currentState = &selection;
    stateTable[STATE_RACEM] = &race;
    selection.menu.page = PAGE_RACE;
    selection.menu.raceMaps = {"ra-x.slv"};
    selection.menu.settings.raceLives = 3;
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    SDL_Keysym enter{};
    enter.sym = SDLK_RETURN;

    selection.handleEvent(event, enter);
    EXPECT_EQ(currentState, &selection);
    EXPECT_EQ(selection.saveNotice.line(), "Settings could not be saved to multiplayer.ini");
    selection.handleEvent(event, enter);
    EXPECT_EQ(currentState, &race);
    EXPECT_EQ(race.run.players[0].craft.lives, 3);

    stateTable[STATE_MODESELM] = savedStates[0];
    stateTable[STATE_RACEM] = savedStates[1];
    currentState = savedStates[2];
    EXPECT_EQ(chdir(saved), 0);
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
