#include "core/settings.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstring>

#include "core/atomic_file.h"
#include "core/key_table.h"

namespace {

constexpr Settings DEFAULT_SETTINGS = {
    {SDLK_w, SDLK_s, SDLK_d, SDLK_a, SDLK_SPACE, SDLK_n, SDLK_e, SDLK_UP, SDLK_DOWN, SDLK_RIGHT, SDLK_LEFT, SDLK_m,
     SDLK_o, SDLK_b},
    1, 3, 256, 256, 1, 0, 0, 200000, 50000, 10, 0, 0, 1024, 768, 0, 1};

// Lines are read in pieces of at most 63 characters: a longer line counts as
// several lines and shifts every later setting, which old files rely on
// staying readable the same way.
constexpr int LINE_BUFFER_SIZE = SETTING_LINE_BUFFER_SIZE;

// AnimSpeed is kept as the divisor of the animation tick counter.
constexpr int ANIM_SPEED_BASE = 53;
constexpr int FASTEST_ANIM_DIVISOR = 2;

// The glow composite adds the blurred image this many times at most, and its
// render target stays within what every OpenGL driver can allocate.
constexpr int MAX_BLOOM_PASSES = 16;
constexpr int MIN_GLOW_TARGET_SIZE = 16;
constexpr int MAX_GLOW_TARGET_SIZE = 4096;

enum class Special { NONE, STYLE, DRAW_DIST, SHADOW_DIST, ANIM_SPEED };

struct SettingLine {
    const char* text;        // a fixed line, or the writer's format with one %d
    int Settings::*field;    // nullptr: a header or blank line, never read
    int keyIndex;            // >= 0: a key binding instead of field
    int noEqualsDefault;     // the value when the line has no '='
    Special special;
};

constexpr int NO_KEY = -1;

#define FIXED_LINE(text) {text, nullptr, NO_KEY, 0, Special::NONE}
#define KEY_LINE(format, index) {format, nullptr, index, 0, Special::NONE}
#define VALUE_LINE(format, field, fallback) {format, &Settings::field, NO_KEY, fallback, Special::NONE}
#define SPECIAL_LINE(format, field, fallback, special) {format, &Settings::field, NO_KEY, fallback, special}

// The file, line by line, in the order the reader expects it.
const SettingLine SETTINGS_LAYOUT[] = {
    FIXED_LINE("[CONTROLS]"), FIXED_LINE(""),
    KEY_LINE("Forward1\t= %d", KEY_FORWARD1), KEY_LINE("Backward1\t= %d", KEY_BACKWARD1),
    KEY_LINE("Right1\t\t= %d", KEY_RIGHT1), KEY_LINE("Left1\t\t= %d", KEY_LEFT1),
    KEY_LINE("Jump1\t\t= %d", KEY_JUMP1), KEY_LINE("Reset1\t\t= %d", KEY_RESET1),
    KEY_LINE("Use1\t\t= %d", KEY_USE1), KEY_LINE("Forward2\t= %d", KEY_FORWARD2),
    KEY_LINE("Backward2\t= %d", KEY_BACKWARD2), KEY_LINE("Right2\t\t= %d", KEY_RIGHT2),
    KEY_LINE("Left2\t\t= %d", KEY_LEFT2), KEY_LINE("Jump2\t\t= %d", KEY_JUMP2),
    KEY_LINE("Reset2\t\t= %d", KEY_RESET2), KEY_LINE("Use2\t\t= %d", KEY_USE2),
    FIXED_LINE(""), FIXED_LINE("[GRAPHICS]"), FIXED_LINE(""),
    VALUE_LINE("Glow\t\t= %d", glow, 1),
    VALUE_LINE("Bloom\t\t= %d", bloom, 3),
    VALUE_LINE("Bloomw\t\t= %d", bloomW, 256),
    VALUE_LINE("Bloomh\t\t= %d", bloomH, 256),
    VALUE_LINE("Mipmaps\t\t= %d", mipmaps, 1),
    SPECIAL_LINE("Style\t\t= %d", style, 0, Special::STYLE),
    VALUE_LINE("Details\t\t= %d", details, 0),
    SPECIAL_LINE("Draw-Dist\t= %d", drawDist, 200000, Special::DRAW_DIST),
    SPECIAL_LINE("Shadow-Dist\t= %d", shadowDist, 50000, Special::SHADOW_DIST),
    SPECIAL_LINE("AnimSpeed\t= %d", animDivisor, 10, Special::ANIM_SPEED),
    VALUE_LINE("Speed\t\t= %d", speed, 1),
    VALUE_LINE("Shadows\t= %d", shadows, 1),
    FIXED_LINE(""), FIXED_LINE("[VIDEO]"), FIXED_LINE(""),
    VALUE_LINE("width\t\t= %d", width, 1024),
    VALUE_LINE("height\t\t= %d", height, 768),
    VALUE_LINE("windowed\t= %d", windowed, 0),
    FIXED_LINE(""), FIXED_LINE("[SOUND]"), FIXED_LINE(""),
    VALUE_LINE("Sounds\t\t= %d", sounds, 1),
};

#undef FIXED_LINE
#undef KEY_LINE
#undef VALUE_LINE
#undef SPECIAL_LINE

bool isValueLine(const SettingLine& line) { return line.field != nullptr || line.keyIndex != NO_KEY; }

int& fieldOf(Settings& values, const SettingLine& line) {
    return line.keyIndex != NO_KEY ? values.keys[line.keyIndex] : values.*line.field;
}

// atoi's rules (blanks, sign, digits up to the first non-digit, 0 without
// digits), but a number too long for an int stops at the int's limit.
int parseDecimal(const char* text) {
    while (std::isspace(static_cast<unsigned char>(*text))) ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') negative = *text++ == '-';
    long long value = 0;
    while (std::isdigit(static_cast<unsigned char>(*text))) {
        value = value * 10 + (*text++ - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    return static_cast<int>(value);
}

int animDivisorFor(int fileValue) {
    if (fileValue > 49) return FASTEST_ANIM_DIVISOR;
    const long long divisor = static_cast<long long>(ANIM_SPEED_BASE) - fileValue;
    return divisor > INT_MAX ? INT_MAX : static_cast<int>(divisor);
}

// The value of one line piece. The character after '=' is skipped unseen:
// the writer always puts a blank there, so "Forward1=119" reads as 19.
int lineValue(const char* piece, const SettingLine& line) {
    if (std::strchr(piece, '=') == nullptr) return line.noEqualsDefault;
    // '=' ending the piece reads as 0, which for AnimSpeed still has to
    // become a divisor, never 0 itself.
    const int value = settingPieceValue(piece, 0);
    if (line.keyIndex != NO_KEY) return keyCodeOfNumber(value);
    return line.special == Special::ANIM_SPEED ? animDivisorFor(value) : value;
}

// Settings the game steps, loops over or sizes a render target by: a value it
// cannot use (a damaged or hand-edited file) gets the missing-file default.
void keepWithin(int& value, int lowest, int highest, int fallback) {
    if (value < lowest || value > highest) value = fallback;
}

void applyRanges(Settings& values, int textureSetCount) {
    if (values.style < 0 || values.style >= textureSetCount) values.style = 0;
    if (values.drawDist <= 99999) values.drawDist = 100000;
    if (values.shadowDist <= 4999) values.shadowDist = 5000;
    keepWithin(values.details, 0, 3, DEFAULT_SETTINGS.details);
    keepWithin(values.bloom, 0, MAX_BLOOM_PASSES, DEFAULT_SETTINGS.bloom);
    keepWithin(values.bloomW, MIN_GLOW_TARGET_SIZE, MAX_GLOW_TARGET_SIZE, DEFAULT_SETTINGS.bloomW);
    keepWithin(values.bloomH, MIN_GLOW_TARGET_SIZE, MAX_GLOW_TARGET_SIZE, DEFAULT_SETTINGS.bloomH);
    keepWithin(values.mipmaps, 0, 1, DEFAULT_SETTINGS.mipmaps);
    keepWithin(values.windowed, 0, 1, DEFAULT_SETTINGS.windowed);
    keepWithin(values.sounds, 0, 1, DEFAULT_SETTINGS.sounds);
}

}  // namespace

int settingPieceValue(const char* piece, int noEqualsDefault) {
    const char* equals = std::strchr(piece, '=');
    if (equals == nullptr) return noEqualsDefault;
    // '=' ending the piece leaves nothing to read past it.
    return equals[1] == '\0' ? 0 : parseDecimal(equals + 2);
}

std::vector<std::string> settingPieces(const std::string& text) {
    std::vector<std::string> pieces;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = start;
        // Up to 63 characters, the line break included when it fits.
        while (end < text.size() && end - start < size_t(SETTING_LINE_BUFFER_SIZE - 1)) {
            if (text[end++] == '\n') break;
        }
        std::string piece = text.substr(start, end - start);
        pieces.push_back(piece.substr(0, piece.find('\0')));
        start = end;
    }
    return pieces;
}

Settings settings = DEFAULT_SETTINGS;

Settings defaultSettings() { return DEFAULT_SETTINGS; }

int readSettings(const std::string& path, int textureSetCount) {
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (file == nullptr) {
        std::fputs("Error: settings.ini not found - using default settings.\n", stderr);
        settings = defaultSettings();
        return -1;
    }
    readSettingsFrom(file, textureSetCount);
    std::fclose(file);
    return 0;
}

void readSettingsFrom(std::FILE* file, int textureSetCount) {
    Settings values = settings;
    // At the end of the file the buffer keeps the last piece read, so a short
    // file fills every later setting from its last line.
    char piece[LINE_BUFFER_SIZE] = "";
    for (const SettingLine& line : SETTINGS_LAYOUT) {
        if (std::fgets(piece, sizeof piece, file) == nullptr && std::ferror(file)) piece[0] = '\0';
        if (isValueLine(line)) fieldOf(values, line) = lineValue(piece, line);
    }
    applyRanges(values, textureSetCount);
    settings = values;
}

std::string settingsFileText(const Settings& values) {
    std::string text;
    Settings copy = values;
    for (const SettingLine& line : SETTINGS_LAYOUT) {
        if (!isValueLine(line)) {
            text += line.text;
        } else {
            int value = fieldOf(copy, line);
            if (line.special == Special::ANIM_SPEED) value = ANIM_SPEED_BASE - value;
            // A key the file cannot number is written as no key (0).
            if (line.keyIndex != NO_KEY) value = keyNumberOf(value) == NO_KEY_NUMBER ? 0 : keyNumberOf(value);
            char formatted[LINE_BUFFER_SIZE];
            std::snprintf(formatted, sizeof formatted, line.text, value);
            text += formatted;
        }
        text += '\n';
    }
    return text;
}

int writeSettings(const std::string& path) {
    return writeFileAtomically(path, settingsFileText(settings));
}
