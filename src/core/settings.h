#pragma once

#include <cstdio>
#include <string>
#include <vector>

// The fourteen key bindings in file order. Group 1 (indices 0-6) is called
// "Player 2" on screen, group 2 (7-13) "Player 1"; single player and time
// attack steer with group 2.
enum KeyBinding : int {
    KEY_FORWARD1 = 0, KEY_BACKWARD1, KEY_RIGHT1, KEY_LEFT1, KEY_JUMP1, KEY_RESET1, KEY_USE1,
    KEY_FORWARD2, KEY_BACKWARD2, KEY_RIGHT2, KEY_LEFT2, KEY_JUMP2, KEY_RESET2, KEY_USE2,
    KEY_BINDING_COUNT
};

struct Settings {
    int keys[KEY_BINDING_COUNT];  // SDL2 key codes; the file keeps SDL 1.2's numbers (core/key_table.h)
    int glow;
    int bloom;
    int bloomW;
    int bloomH;
    int mipmaps;
    int style;
    int details;      // 0 low, 1 medium, 2 high, 3 ultra
    int drawDist;
    int shadowDist;
    int animDivisor;  // stored in the file as 53 - divisor; never 0
    int speed;
    int shadows;
    int width;
    int height;
    int windowed;
    int sounds;
};

extern Settings settings;

// The file lives in the game's working directory.
constexpr const char* SETTINGS_FILE = "settings.ini";

// The values a player gets when there is no settings file.
Settings defaultSettings();

// Reads the settings file by line position (it never looks at the key names).
// textureSetCount bounds Style. A file that cannot be opened prints a notice
// on standard error, puts every default in force and returns -1; else 0.
int readSettings(const std::string& path, int textureSetCount);
// The same from a stream already open for reading (left open).
void readSettingsFrom(std::FILE* file, int textureSetCount);

// The whole file as the writer lays it out.
std::string settingsFileText(const Settings& values);

// Replaces the file atomically. On failure the old file stays as it was and
// the settings in memory are untouched. Returns 0 or -1.
int writeSettings(const std::string& path);

// Pieces of line-oriented setting files (settings.ini, multiplayer.ini):
// both are read by position, in pieces of at most 63 characters, as a
// 64-character line buffer takes them. A longer line goes on in the next
// piece. The value of a piece follows its first '='; the character right
// after it is skipped unseen (the writer's blank), and an '=' that ends the
// piece reads as 0 instead of looking past it. A piece without '=' yields
// noEqualsDefault.
constexpr int SETTING_LINE_BUFFER_SIZE = 64;
int settingPieceValue(const char* piece, int noEqualsDefault);
// The pieces of a whole file image, in order (a NUL byte ends a piece's
// text as it would end the buffer's).
std::vector<std::string> settingPieces(const std::string& text);
