#include "modes/multi/multiplayer_settings_file.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

#include "core/atomic_file.h"
#include "core/settings.h"

namespace {

// Line numbers (0-based) of the values in the written form.
constexpr size_t CASTLE_LIVES_LINE = 1;
constexpr size_t POWERUPS_LINE = 2;
constexpr size_t CASTLE_GRAVITY_LINE = 3;
constexpr size_t RACE_LIVES_LINE = 6;
constexpr size_t RACE_GRAVITY_LINE = 7;

int valueOfLine(const std::vector<std::string>& pieces, size_t line, int noEqualsDefault) {
    const char* piece = line < pieces.size() ? pieces[line].c_str() : "";
    return settingPieceValue(piece, noEqualsDefault);
}

int livesInRange(int lives) { return lives >= 1 && lives <= 10 ? lives : 5; }
int gravityInRange(int gravity) { return gravity >= 5 && gravity <= 10 ? gravity : 8; }

// Non-negative remainder, so that a value out of range still cycles into it.
int wrap(long long value, int modulus) {
    long long rest = value % modulus;
    return int(rest < 0 ? rest + modulus : rest);
}

}  // namespace

MultiplayerSettings parseMultiplayerSettings(const std::string& text) {
    const std::vector<std::string> pieces = settingPieces(text);
    MultiplayerSettings values;
    values.castleLives = livesInRange(valueOfLine(pieces, CASTLE_LIVES_LINE, 0));
    values.powerups = valueOfLine(pieces, POWERUPS_LINE, 1) != 0;
    values.castleGravity = gravityInRange(valueOfLine(pieces, CASTLE_GRAVITY_LINE, 1));
    values.raceLives = livesInRange(valueOfLine(pieces, RACE_LIVES_LINE, 1));
    values.raceGravity = gravityInRange(valueOfLine(pieces, RACE_GRAVITY_LINE, 1));
    return values;
}

std::string multiplayerSettingsText(const MultiplayerSettings& values) {
    char text[256];
    std::snprintf(text, sizeof text,
                  "[CASTLE-ATTACK]\nlives = %d\npowerups = %d\ngravity = %d\n\n[RACE]\nlives = %d\ngravity = %d\n\n",
                  values.castleLives, values.powerups ? 1 : 0, values.castleGravity, values.raceLives,
                  values.raceGravity);
    return text;
}

MultiplayerSettings readMultiplayerSettings(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::fputs(MULTIPLAYER_MISSING_MESSAGE, stderr);
        std::fputc('\n', stderr);
        return MultiplayerSettings();
    }
    std::ostringstream text;
    text << file.rdbuf();
    return parseMultiplayerSettings(text.str());
}

int writeMultiplayerSettings(const MultiplayerSettings& values, const std::string& path) {
    return writeFileAtomically(path, multiplayerSettingsText(values));
}

int nextCastleLives(int lives) { return wrap(lives, 10) + 1; }
int nextRaceLives(int lives) { return wrap(lives, 8) + 1; }
int nextGravity(int gravity) { return wrap((long long)gravity - 4, 6) + 5; }
