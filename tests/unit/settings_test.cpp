#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>

#include "core/atomic_file.h"
#include "core/key_table.h"
#include "core/settings.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"

namespace {

std::string readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Each test gets its own folder and starts from scrambled settings, so a
// reader that forgets a field shows it.
class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temp.ok());
        folder = temp.path();
        path = temp.file("settings.ini");
        saved = settings;
        std::memset(&settings, 0x5a, sizeof settings);
    }
    void TearDown() override {
        settings = saved;
    }
    void write(const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
    // A default file with one line replaced (1-based line number).
    std::string withLine(int number, const std::string& replacement) {
        std::istringstream lines(settingsFileText(defaultSettings()));
        std::string line, text;
        for (int n = 1; std::getline(lines, line); ++n) text += (n == number ? replacement : line) + "\n";
        return text;
    }
    std::size_t filesInFolder() {
        std::size_t count = 0;
        for (const std::string& name : temp.names())
            if (name[0] != '.') ++count;
        return count;
    }

    TempDir temp{"tavrelo-settings"};
    std::string folder, path;
    Settings saved;
};

const char* const DEFAULT_FILE =
    "[CONTROLS]\n\n"
    "Forward1\t= 119\nBackward1\t= 115\nRight1\t\t= 100\nLeft1\t\t= 97\nJump1\t\t= 32\n"
    "Reset1\t\t= 110\nUse1\t\t= 101\nForward2\t= 273\nBackward2\t= 274\nRight2\t\t= 275\n"
    "Left2\t\t= 276\nJump2\t\t= 109\nReset2\t\t= 111\nUse2\t\t= 98\n"
    "\n[GRAPHICS]\n\n"
    "Glow\t\t= 1\nBloom\t\t= 3\nBloomw\t\t= 256\nBloomh\t\t= 256\nMipmaps\t\t= 1\nStyle\t\t= 0\n"
    "Details\t\t= 0\nDraw-Dist\t= 200000\nShadow-Dist\t= 50000\nAnimSpeed\t= 43\nSpeed\t\t= 0\n"
    "Shadows\t= 0\n"
    "\n[VIDEO]\n\n"
    "width\t\t= 1024\nheight\t\t= 768\nwindowed\t= 0\n"
    "\n[SOUND]\n\n"
    "Sounds\t\t= 1\n";

TEST_F(SettingsFile, WriterLayoutIsExact) {
    EXPECT_EQ(settingsFileText(defaultSettings()), DEFAULT_FILE);
}

TEST_F(SettingsFile, MissingFileGivesDefaultsAndNotice) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(readSettings(folder + "/absent.ini", 3), -1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Error: settings.ini not found - using default settings.\n");
    EXPECT_EQ(settingsFileText(settings), DEFAULT_FILE);
    EXPECT_EQ(settings.animDivisor, 10);
}

TEST_F(SettingsFile, RoundTripKeepsEveryValue) {
    Settings values = defaultSettings();
    for (int i = 0; i < KEY_BINDING_COUNT; ++i) values.keys[i] = keyCodeOfNumber(273 + i);  // arrows to F5
    values.glow = 0; values.bloom = 7; values.bloomW = 128; values.bloomH = 64; values.mipmaps = 0;
    values.style = 2; values.details = 3; values.drawDist = 150000; values.shadowDist = 9000;
    values.animDivisor = 4; values.speed = 1; values.shadows = 1; values.width = 800;
    values.height = 600; values.windowed = 1; values.sounds = 0;
    settings = values;
    ASSERT_EQ(writeSettings(path), 0);
    std::memset(&settings, 0, sizeof settings);
    ASSERT_EQ(readSettings(path, 3), 0);
    EXPECT_EQ(settingsFileText(settings), settingsFileText(values));
    EXPECT_EQ(readWholeFile(path), settingsFileText(values));
}

TEST_F(SettingsFile, ValueStartsTwoCharactersAfterEquals) {
    write(withLine(3, "Forward1=119"));
    readSettings(path, 1);
    EXPECT_EQ(keyNumberOf(settings.keys[KEY_FORWARD1]), 19);
    EXPECT_EQ(settings.keys[KEY_BACKWARD1], 115);
}

TEST_F(SettingsFile, RangeRules) {
    std::string text = withLine(27, "Draw-Dist = 5000");
    write(text);
    readSettings(path, 1);
    EXPECT_EQ(settings.drawDist, 100000);

    write(withLine(28, "Shadow-Dist = 0"));
    readSettings(path, 1);
    EXPECT_EQ(settings.shadowDist, 5000);

    write(withLine(25, "Style = 7"));
    readSettings(path, 3);
    EXPECT_EQ(settings.style, 0);
    write(withLine(25, "Style = 2"));
    readSettings(path, 3);
    EXPECT_EQ(settings.style, 2);
    write(withLine(25, "Style = -1"));
    readSettings(path, 3);
    EXPECT_EQ(settings.style, 0);
    write(withLine(25, "Style = 3"));
    readSettings(path, 3);
    EXPECT_EQ(settings.style, 0);
}

TEST_F(SettingsFile, AnimSpeedIsStoredAsDivisor) {
    write(withLine(29, "AnimSpeed = 60"));
    readSettings(path, 1);
    EXPECT_EQ(settings.animDivisor, 2);
    EXPECT_NE(settingsFileText(settings).find("AnimSpeed\t= 51\n"), std::string::npos);

    write(withLine(29, "AnimSpeed = 43"));
    readSettings(path, 1);
    EXPECT_EQ(settings.animDivisor, 10);
    EXPECT_NE(settingsFileText(settings).find("AnimSpeed\t= 43\n"), std::string::npos);

    write(withLine(29, "AnimSpeed = 0"));
    readSettings(path, 1);
    EXPECT_EQ(settings.animDivisor, 53);
    write(withLine(29, "AnimSpeed = 49"));
    readSettings(path, 1);
    EXPECT_EQ(settings.animDivisor, 4);
    // Without '=' the divisor must never become 0.
    write(withLine(29, "AnimSpeed"));
    readSettings(path, 1);
    EXPECT_EQ(settings.animDivisor, 10);
}

TEST_F(SettingsFile, LinesWithoutEqualsTakeTheirOwnDefaults) {
    std::string text;
    for (int n = 0; n < 41; ++n) text += "nothing here\n";
    write(text);
    readSettings(path, 2);
    for (int key : settings.keys) EXPECT_EQ(key, 0);
    EXPECT_EQ(settings.glow, 1);
    EXPECT_EQ(settings.bloom, 3);
    EXPECT_EQ(settings.bloomW, 256);
    EXPECT_EQ(settings.bloomH, 256);
    EXPECT_EQ(settings.mipmaps, 1);
    EXPECT_EQ(settings.style, 0);
    EXPECT_EQ(settings.details, 0);
    EXPECT_EQ(settings.drawDist, 200000);
    EXPECT_EQ(settings.shadowDist, 50000);
    EXPECT_EQ(settings.animDivisor, 10);
    EXPECT_EQ(settings.speed, 1);
    EXPECT_EQ(settings.shadows, 1);
    EXPECT_EQ(settings.width, 1024);
    EXPECT_EQ(settings.height, 768);
    EXPECT_EQ(settings.windowed, 0);
    EXPECT_EQ(settings.sounds, 1);
}

TEST_F(SettingsFile, ShortFileRepeatsItsLastLine) {
    // Ends after Backward1: every later setting parses "Backward1\t= 115".
    std::string full = DEFAULT_FILE;
    std::size_t end = full.find("Right1");
    write(full.substr(0, end));
    readSettings(path, 1);
    EXPECT_EQ(settings.keys[KEY_FORWARD1], 119);
    EXPECT_EQ(settings.keys[KEY_USE2], 115);
    EXPECT_EQ(settings.glow, 115);
    EXPECT_EQ(settings.width, 115);
    EXPECT_EQ(settings.sounds, 1);         // 115 is no switch value: the default
    EXPECT_EQ(settings.drawDist, 100000);  // 115 is below the floor
    EXPECT_EQ(settings.animDivisor, 2);    // 115 is above 49
}

TEST_F(SettingsFile, EmptyFileReadsAsLinesWithoutEquals) {
    write("");
    EXPECT_EQ(readSettings(path, 1), 0);
    EXPECT_EQ(settings.keys[KEY_FORWARD1], 0);
    EXPECT_EQ(settings.width, 1024);
    EXPECT_EQ(settings.animDivisor, 10);
}

TEST_F(SettingsFile, HeaderAndBlankLinesAreNeverChecked) {
    std::string text = DEFAULT_FILE;
    text.replace(text.find("[CONTROLS]"), 10, "width = 5");
    text.replace(text.find("[VIDEO]"), 7, "=== 99 ===");
    write(text);
    readSettings(path, 1);
    EXPECT_EQ(settingsFileText(settings), DEFAULT_FILE);
}

TEST_F(SettingsFile, LongLineIsReadInPiecesThatShiftLaterSettings) {
    // 70 characters: the first 63 are one piece, the rest the next "line".
    std::string longLine = "Forward1\t= 200" + std::string(56, ' ');
    write(withLine(3, longLine));
    readSettings(path, 1);
    EXPECT_EQ(settings.keys[KEY_FORWARD1], 200);
    EXPECT_EQ(settings.keys[KEY_BACKWARD1], 0);    // the tail: blanks, no '='
    EXPECT_EQ(settings.keys[KEY_RIGHT1], 115);     // the real Backward1 line
    EXPECT_EQ(settings.keys[KEY_USE2], 111);       // Reset2 line
}

TEST_F(SettingsFile, EqualsAtTheEndOfAPieceReadsAsZero) {
    // 62 characters then '=': the piece ends right after it.
    write(withLine(20, std::string(62, 'G') + "=5"));
    readSettings(path, 1);
    EXPECT_EQ(settings.glow, 0);
}

TEST_F(SettingsFile, AnimSpeedEndingAtEqualsStillGivesADivisor) {
    // The tick counter is divided by it: an empty value reads as 0, divisor 53.
    write(withLine(29, std::string(62, 'A') + "=5"));
    readSettings(path, 1);
    EXPECT_EQ(settings.animDivisor, 53);

    // A file cut right after "AnimSpeed =": every later line reuses that piece.
    std::string full = DEFAULT_FILE;
    write(full.substr(0, full.find("AnimSpeed")) + "AnimSpeed\t=");
    readSettings(path, 1);
    EXPECT_EQ(settings.animDivisor, 53);
    EXPECT_EQ(settings.sounds, 0);
}

TEST_F(SettingsFile, OverlongNumbersStopAtTheIntLimits) {
    write(withLine(35, "width\t\t= 99999999999999999999") );
    readSettings(path, 1);
    EXPECT_EQ(settings.width, 2147483647);
    write(withLine(29, "AnimSpeed\t= -99999999999999"));
    readSettings(path, 1);
    EXPECT_EQ(settings.animDivisor, 2147483647);
    write(withLine(36, "height\t\t=  -12abc"));
    readSettings(path, 1);
    EXPECT_EQ(settings.height, -12);
}

// Settings the game steps, loops over or sizes a render target by keep only
// values it can use; anything else takes the missing-file default.
TEST_F(SettingsFile, UnusableValuesTakeTheirDefaults) {
    struct Case {
        int line;
        const char* text;
        int Settings::*field;
        int expected;
    };
    const Case cases[] = {
        {26, "Details\t\t= 3", &Settings::details, 3},
        {26, "Details\t\t= 4", &Settings::details, 0},
        {26, "Details\t\t= -1", &Settings::details, 0},
        {21, "Bloom\t\t= 0", &Settings::bloom, 0},
        {21, "Bloom\t\t= 16", &Settings::bloom, 16},
        {21, "Bloom\t\t= 17", &Settings::bloom, 3},
        {21, "Bloom\t\t= -2", &Settings::bloom, 3},
        {22, "Bloomw\t\t= 16", &Settings::bloomW, 16},
        {22, "Bloomw\t\t= 15", &Settings::bloomW, 256},
        {22, "Bloomw\t\t= 4096", &Settings::bloomW, 4096},
        {22, "Bloomw\t\t= 4097", &Settings::bloomW, 256},
        {23, "Bloomh\t\t= 0", &Settings::bloomH, 256},
        {23, "Bloomh\t\t= 512", &Settings::bloomH, 512},
        {24, "Mipmaps\t\t= 0", &Settings::mipmaps, 0},
        {24, "Mipmaps\t\t= 2", &Settings::mipmaps, 1},
        {37, "windowed\t= 1", &Settings::windowed, 1},
        {37, "windowed\t= 2", &Settings::windowed, 0},
        {37, "windowed\t= -1", &Settings::windowed, 0},
        {41, "Sounds\t\t= 0", &Settings::sounds, 0},
        {41, "Sounds\t\t= 7", &Settings::sounds, 1},
    };
    for (const Case& c : cases) {
        write(withLine(c.line, c.text));
        readSettings(path, 1);
        EXPECT_EQ(settings.*c.field, c.expected) << c.text;
    }
}

// Twelve bytes that once left Details at INT_MAX: every later setting is
// parsed from this one line, so every one of them meets its range.
TEST_F(SettingsFile, OneHugeValueLineLeavesEverySettingUsable) {
    write("= 9999999999");
    ASSERT_EQ(readSettings(path, 2), 0);
    EXPECT_EQ(settings.details, 0);
    EXPECT_EQ(settings.bloom, 3);
    EXPECT_EQ(settings.bloomW, 256);
    EXPECT_EQ(settings.bloomH, 256);
    EXPECT_EQ(settings.mipmaps, 1);
    EXPECT_EQ(settings.style, 0);
    EXPECT_EQ(settings.windowed, 0);
    EXPECT_EQ(settings.sounds, 1);
    EXPECT_EQ(settings.animDivisor, 2);
    EXPECT_EQ(settings.width, 2147483647);  // the window size is not bounded
    // What the reader keeps is written back and read again unchanged.
    const std::string text = settingsFileText(settings);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 41);
    write(text);
    readSettings(path, 2);
    EXPECT_EQ(settingsFileText(settings), text);
}

TEST_F(SettingsFile, WriteFailureKeepsOldFileAndMemory) {
    settings = defaultSettings();
    ASSERT_EQ(writeSettings(path), 0);
    const std::string before = readWholeFile(path);
    settings.keys[KEY_JUMP1] = 999;

    // A real short write: the saving child may write only 100 bytes per file.
    EXPECT_EQ(saveResultWithFileSizeLimit(100, [this] { return writeSettings(path); }), -1)
        << "the failed write was reported as success";
    EXPECT_EQ(readWholeFile(path), before);
    EXPECT_EQ(filesInFolder(), 1u) << "a temporary file was left behind";
    EXPECT_EQ(settings.keys[KEY_JUMP1], 999);
}

TEST_F(SettingsFile, AtomicWriteReplacesAndKeepsPermissions) {
    ASSERT_EQ(writeFileAtomically(path, std::string("first")), 0);
    chmod(path.c_str(), 0640);
    ASSERT_EQ(writeFileAtomically(path, std::string("second")), 0);
    EXPECT_EQ(readWholeFile(path), "second");
    struct stat info;
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(filesInFolder(), 1u);
}

TEST_F(SettingsFile, AtomicWriteOverAFolderFailsCleanly) {
    const std::string target = folder + "/taken";
    ASSERT_EQ(mkdir(target.c_str(), 0755), 0);
    EXPECT_EQ(writeFileAtomically(target, std::string("data")), -1);
    EXPECT_EQ(filesInFolder(), 1u);
    EXPECT_EQ(writeFileAtomically(folder + "/missing/settings.ini", std::string("x")), -1);
}

// settings.ini's key numbers and the game's key codes, both ways, and the
// names the options screen shows.
TEST(KeyTable, FileNumbersAndKeyCodesBothWaysWithNames) {
    struct Row {
        int number;
        SDL_Keycode code;
        const char* name;
    };
    const Row rows[] = {
        {'a', SDLK_a, "a"}, {'7', SDLK_7, "7"}, {',', SDLK_COMMA, ","}, {'`', SDLK_BACKQUOTE, "`"},
        {8, SDLK_BACKSPACE, "backspace"}, {9, SDLK_TAB, "tab"}, {13, SDLK_RETURN, "return"},
        {32, SDLK_SPACE, "space"}, {228, 228, "U+00E4"}, {256, SDLK_KP_0, "KP_0"}, {258, SDLK_KP_2, "KP_DOWN"},
        {265, SDLK_KP_9, "KP_9"}, {271, SDLK_KP_ENTER, "KP_RETURN"}, {273, SDLK_UP, "up"},
        {276, SDLK_LEFT, "left"}, {282, SDLK_F1, "F1"}, {296, SDLK_F15, "F15"}, {303, SDLK_RSHIFT, "rshift"},
        {306, SDLK_LCTRL, "lctrl"}, {311, SDLK_LGUI, "lsuper"}, {322, SDLK_UNDO, "undo"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(keyCodeOfNumber(row.number), row.code) << row.number;
        EXPECT_EQ(keyNumberOf(row.code), row.number) << row.name;
        EXPECT_STREQ(keyName(row.code), row.name) << row.number;
    }
    // Every number of a key reads back as itself but Meta, which SDL2 calls
    // Super; numbers that named no key read as no key.
    for (int number = -1; number <= KEY_NUMBER_COUNT; ++number) {
        const SDL_Keycode code = keyCodeOfNumber(number);
        if (code != SDLK_UNKNOWN && number != 309 && number != 310) {
            EXPECT_EQ(keyNumberOf(code), number);
        }
    }
    EXPECT_EQ(keyCodeOfNumber(310), SDLK_LGUI);
    EXPECT_EQ(keyCodeOfNumber(150), SDLK_UNKNOWN);
    EXPECT_EQ(keyCodeOfNumber(KEY_NUMBER_COUNT), SDLK_UNKNOWN);
    EXPECT_EQ(keyNumberOf(SDLK_AUDIOPLAY), NO_KEY_NUMBER);
}

}  // namespace
