#include "editor/editor_dialogs/medal_dialog.h"

#include <SDL2/SDL_keycode.h>

#include <algorithm>
#include <cstdio>
#include <utility>

namespace {
constexpr int32_t DIGIT_UNIT_MS[MEDAL_DIGIT_POSITIONS] = {600000, 60000, 10000, 1000, 100, 10};
// What lies below each digit: the digit is (value mod this) / its unit.
constexpr int32_t DIGIT_SPAN_MS[MEDAL_DIGIT_POSITIONS] = {0, 600000, 60000, 10000, 1000, 100};
}

int32_t replaceTimeDigit(int32_t value, int position, int digit) {
    if (position < 0 || position >= MEDAL_DIGIT_POSITIONS || digit < 0 || digit > 9) return value;
    const int32_t unit = DIGIT_UNIT_MS[position];
    if (position == 0) return digit * unit + value % unit;
    const int32_t current = (value % DIGIT_SPAN_MS[position]) / unit;
    return value + (digit - current) * unit;
}

int32_t& medalTime(Level& level, int row) {
    if (row == ROW_GOLD) return level.goldTime;
    if (row == ROW_SILVER) return level.silverTime;
    return level.bronzeTime;
}

std::string medalTimeText(int32_t ms) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d: %02d: %02d", ms / 60000, (ms % 60000) / 1000, (ms % 1000) / 10);
    return buffer;
}

void setMedalTimesFrom(Level& level, int32_t drivenMs) {
    static constexpr int64_t LONGEST_MS = 99 * 60000 + 59990;  // 99: 59: 99
    auto slower = [drivenMs](int64_t percent) {
        const int64_t ms = std::min(int64_t(std::max(drivenMs, 0)) * (100 + percent) / 100, LONGEST_MS);
        return int32_t(ms - ms % 10);
    };
    level.goldTime = slower(7);
    level.silverTime = slower(30);
    level.bronzeTime = slower(60);
}

std::string medalTimeWarning(const Level& level) {
    if (level.goldTime > 0 && level.silverTime > 0 && level.bronzeTime > 0) return "";
    return "Warning: a medal time of 00: 00: 00 is never won.";
}

void orderMedalTimes(Level& level) {
    if (level.bronzeTime < level.goldTime) std::swap(level.bronzeTime, level.goldTime);
    if (level.silverTime < level.goldTime) std::swap(level.silverTime, level.goldTime);
    if (level.bronzeTime < level.silverTime) std::swap(level.bronzeTime, level.silverTime);
}

DialogOutcome MedalDialog::key(int sym, int character, Level& level) {
    switch (sym) {
        case SDLK_UP:
            row = (row + 2) % 3;
            position = 0;
            return DialogOutcome::Stay;
        case SDLK_DOWN:
            row = (row + 1) % 3;
            position = 0;
            return DialogOutcome::Stay;
        case SDLK_ESCAPE: return DialogOutcome::Cancel;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            orderMedalTimes(level);
            return DialogOutcome::Confirm;
        default: break;
    }
    const int digit = digitOfKey(sym, character);
    if (digit >= 0) {
        int32_t& time = medalTime(level, row);
        time = replaceTimeDigit(time, position, digit);
        position = (position + 1) % MEDAL_DIGIT_POSITIONS;
    }
    return DialogOutcome::Stay;
}

DialogOutcome DifficultyDialog::key(int sym) {
    switch (sym) {
        case SDLK_DOWN: difficulty = (difficulty + 1) % 3; break;
        case SDLK_UP: difficulty = (difficulty + 2) % 3; break;
        case SDLK_RETURN:
        case SDLK_KP_ENTER: return DialogOutcome::Confirm;
        default: break;
    }
    return DialogOutcome::Stay;
}
