#pragma once

#include <cstdint>
#include <string>

#include "editor/editor_dialogs/trigger_dialog.h"
#include "level/level.h"

// The medal-times dialog that comes before saving: three times typed digit
// by digit as "mm: ss: hh".

enum MedalRow : int { ROW_BRONZE = 0, ROW_SILVER = 1, ROW_GOLD = 2 };
constexpr int MEDAL_DIGIT_POSITIONS = 6;

// Replaces one decimal digit of a time in milliseconds: position 0 the tens
// of minutes (600000 ms), 1 the minutes, 2 the tens of seconds, 3 the
// seconds, 4 the tenths, 5 the hundredths (10 ms). Digits above and below
// stay; at position 0 the value becomes digit x 600000 + value mod 600000.
int32_t replaceTimeDigit(int32_t value, int position, int digit);

// Gold <= silver <= bronze: swap bronze with gold, then silver with gold,
// then bronze with silver, each when out of order.
void orderMedalTimes(Level& level);

int32_t& medalTime(Level& level, int row);

// "mm: ss: hh", as the dialog shows a time.
std::string medalTimeText(int32_t ms);

// Medal times from a drive of `drivenMs`: gold 7 %, silver 30 % and bronze
// 60 % slower, each cut to the hundredth and to the dialog's 99: 59: 99.
void setMedalTimesFrom(Level& level, int32_t drivenMs);

// A finish always takes some time, so a medal time of 00: 00: 00 can never
// be won: one line saying so, or empty when every time is set.
std::string medalTimeWarning(const Level& level);

struct MedalDialog {
    int row = ROW_BRONZE;
    int position = 0;

    void open() { row = ROW_BRONZE; position = 0; }
    // Digits edit the level's times; Enter orders them (the caller saves).
    DialogOutcome key(int sym, int character, Level& level);
};

// Easy, Medium, Hard for a pong court or a computer craft.
struct DifficultyDialog {
    int difficulty = 0;
    // Up and Down cycle; only Enter leaves.
    DialogOutcome key(int sym);
};
