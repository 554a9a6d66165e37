#pragma once

#include <string>

// The two-player modes' settings, kept in multiplayer.ini in the working
// directory: nine lines, read by position, never by key.
struct MultiplayerSettings {
    int castleLives = 5;    // castle health at the start, 1..10
    bool powerups = true;   // power-ups on the castle-attack maps
    int castleGravity = 8;  // 5..10
    int raceLives = 5;      // 1..10 (the options page cycles 1..8 only)
    int raceGravity = 8;    // 5..10
};

constexpr const char* MULTIPLAYER_FILE = "multiplayer.ini";
constexpr const char* MULTIPLAYER_MISSING_MESSAGE =
    "Error: multiplayer.ini not found - using default settings.";

// Reads a file image by line position: lines 2..4 the castle lives,
// power-ups and gravity, lines 7 and 8 the race lives and gravity; lines 1,
// 5 and 6 are skipped. A value line without '=' gives 0 for the castle
// lives, on for the power-ups and 1 for the others; a line the file does not
// have reads as one without '='. Then lives outside 1..10 become 5, gravity
// outside 5..10 becomes 8 and any nonzero power-up number means on.
MultiplayerSettings parseMultiplayerSettings(const std::string& text);

// The nine lines as they are written.
std::string multiplayerSettingsText(const MultiplayerSettings& values);

// Reads the file; when it cannot be opened, prints the missing-file message
// on standard error and returns the defaults.
MultiplayerSettings readMultiplayerSettings(const std::string& path = MULTIPLAYER_FILE);

// Replaces the file atomically (temporary file renamed over it); 0 or -1.
int writeMultiplayerSettings(const MultiplayerSettings& values, const std::string& path = MULTIPLAYER_FILE);

// The options page's cycles.
int nextCastleLives(int lives);  // (lives mod 10) + 1: 1..10
int nextRaceLives(int lives);    // (lives mod 8) + 1: 1..8, though the file holds up to 10
int nextGravity(int gravity);    // ((gravity - 4) mod 6) + 5: 5..10
