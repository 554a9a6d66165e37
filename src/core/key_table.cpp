#include "core/key_table.h"

#include <array>
#include <cstdint>
#include <cstdio>

namespace {

struct KeyRow {
    int number;        // SDL 1.2
    SDL_Keycode code;  // SDL2
    const char* name;
};

// Every key SDL 1.2 numbered outside the printable characters. Printable
// ASCII (33..126) and the Latin-1 keys (160..255) carry the same number in
// both numberings and are named by rule below. The names the options screen
// has always shown (backspace, return, space, the keypad, the arrows, the
// shift and control keys) are kept; keypad 2, 4, 6 and 8 carry their arrow
// names, as printed on the keys. Meta and Super are one key code (GUI) in
// SDL2: it is written back as Super, the Windows key of today's keyboards.
constexpr KeyRow KEY_ROWS[] = {
    {8, SDLK_BACKSPACE, "backspace"}, {9, SDLK_TAB, "tab"}, {12, SDLK_CLEAR, "clear"},
    {13, SDLK_RETURN, "return"}, {19, SDLK_PAUSE, "pause"}, {27, SDLK_ESCAPE, "escape"},
    {32, SDLK_SPACE, "space"}, {127, SDLK_DELETE, "delete"},
    {256, SDLK_KP_0, "KP_0"}, {257, SDLK_KP_1, "KP_1"}, {258, SDLK_KP_2, "KP_DOWN"},
    {259, SDLK_KP_3, "KP_3"}, {260, SDLK_KP_4, "KP_LEFT"}, {261, SDLK_KP_5, "KP_5"},
    {262, SDLK_KP_6, "KP_RIGHT"}, {263, SDLK_KP_7, "KP_7"}, {264, SDLK_KP_8, "KP_UP"},
    {265, SDLK_KP_9, "KP_9"}, {266, SDLK_KP_PERIOD, "KP_PERIOD"}, {267, SDLK_KP_DIVIDE, "KP_DIVIDE"},
    {268, SDLK_KP_MULTIPLY, "KP_MULTIPLY"}, {269, SDLK_KP_MINUS, "KP_MINUS"}, {270, SDLK_KP_PLUS, "KP_PLUS"},
    {271, SDLK_KP_ENTER, "KP_RETURN"}, {272, SDLK_KP_EQUALS, "KP_EQUALS"},
    {273, SDLK_UP, "up"}, {274, SDLK_DOWN, "down"}, {275, SDLK_RIGHT, "right"}, {276, SDLK_LEFT, "left"},
    {277, SDLK_INSERT, "insert"}, {278, SDLK_HOME, "home"}, {279, SDLK_END, "end"},
    {280, SDLK_PAGEUP, "pageup"}, {281, SDLK_PAGEDOWN, "pagedown"},
    {282, SDLK_F1, "F1"}, {283, SDLK_F2, "F2"}, {284, SDLK_F3, "F3"}, {285, SDLK_F4, "F4"},
    {286, SDLK_F5, "F5"}, {287, SDLK_F6, "F6"}, {288, SDLK_F7, "F7"}, {289, SDLK_F8, "F8"},
    {290, SDLK_F9, "F9"}, {291, SDLK_F10, "F10"}, {292, SDLK_F11, "F11"}, {293, SDLK_F12, "F12"},
    {294, SDLK_F13, "F13"}, {295, SDLK_F14, "F14"}, {296, SDLK_F15, "F15"},
    {300, SDLK_NUMLOCKCLEAR, "numlock"}, {301, SDLK_CAPSLOCK, "capslock"}, {302, SDLK_SCROLLLOCK, "scrollock"},
    {303, SDLK_RSHIFT, "rshift"}, {304, SDLK_LSHIFT, "lshift"}, {305, SDLK_RCTRL, "rctrl"},
    {306, SDLK_LCTRL, "lctrl"}, {307, SDLK_RALT, "ralt"}, {308, SDLK_LALT, "lalt"},
    {311, SDLK_LGUI, "lsuper"}, {312, SDLK_RGUI, "rsuper"}, {309, SDLK_RGUI, "rsuper"},
    {310, SDLK_LGUI, "lsuper"}, {313, SDLK_MODE, "altgr"}, {315, SDLK_HELP, "help"},
    {316, SDLK_PRINTSCREEN, "print"}, {317, SDLK_SYSREQ, "sysreq"}, {319, SDLK_APPLICATION, "menu"},
    {320, SDLK_POWER, "power"}, {322, SDLK_UNDO, "undo"},
};

bool sameInBoth(int value) { return (value > 32 && value < 127) || (value >= 160 && value <= 255); }

const KeyRow* rowOfCode(SDL_Keycode code) {
    for (const KeyRow& row : KEY_ROWS)
        if (row.code == code) return &row;  // the first row of a code is the one written back
    return nullptr;
}

// The held-key flags ask for numbers every physics step: keys named by a
// scancode are looked up directly instead of through the rows.
constexpr int SCANCODE_SLOTS = 512;
using NumberByScancode = std::array<int16_t, SCANCODE_SLOTS>;

constexpr NumberByScancode numbersByScancode() {
    NumberByScancode numbers{};
    for (int16_t& number : numbers) number = NO_KEY_NUMBER;
    // Backwards, so the first row of a code wins, as in rowOfCode.
    for (int i = int(sizeof KEY_ROWS / sizeof KEY_ROWS[0]) - 1; i >= 0; --i) {
        const KeyRow& row = KEY_ROWS[i];
        const int slot = row.code & ~SDLK_SCANCODE_MASK;
        if ((row.code & SDLK_SCANCODE_MASK) != 0 && slot < SCANCODE_SLOTS) numbers[size_t(slot)] = int16_t(row.number);
    }
    return numbers;
}

constexpr NumberByScancode NUMBER_BY_SCANCODE = numbersByScancode();

char keyNameBuffer[24];

}  // namespace

int keyNumberOf(SDL_Keycode code) {
    if (sameInBoth(code)) return code;
    if ((code & SDLK_SCANCODE_MASK) != 0) {
        const int slot = code & ~SDLK_SCANCODE_MASK;
        return slot >= 0 && slot < SCANCODE_SLOTS ? NUMBER_BY_SCANCODE[size_t(slot)] : NO_KEY_NUMBER;
    }
    const KeyRow* row = rowOfCode(code);
    return row ? row->number : NO_KEY_NUMBER;
}

SDL_Keycode keyCodeOfNumber(int number) {
    if (sameInBoth(number)) return number;
    for (const KeyRow& row : KEY_ROWS)
        if (row.number == number) return row.code;
    return SDLK_UNKNOWN;
}

const char* keyName(SDL_Keycode code) {
    const KeyRow* row = rowOfCode(code);
    if (row != nullptr)
        std::snprintf(keyNameBuffer, sizeof keyNameBuffer, "%s", row->name);
    else if (code > 32 && code < 127)
        std::snprintf(keyNameBuffer, sizeof keyNameBuffer, "%c", char(code));
    else if (code >= 160 && code <= 255)  // beyond the font: the character's number
        std::snprintf(keyNameBuffer, sizeof keyNameBuffer, "U+%04X", unsigned(code));
    else
        std::snprintf(keyNameBuffer, sizeof keyNameBuffer, "key%d", int(code));
    return keyNameBuffer;
}
