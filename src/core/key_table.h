#pragma once

#include <SDL2/SDL_keycode.h>

// Keys have two numberings. Inside the game a key is an SDL2 key code (the
// SDLK_* names). settings.ini stores the numbers SDL 1.2 gave the same keys,
// as it always has, so files written by earlier versions read unchanged and
// files written now still read in them; the crafts' held-key flags are
// indexed by those numbers too (0..KEY_NUMBER_COUNT - 1).
//
// One fixed table holds every key of both numberings with the name the
// options screen shows for it.

constexpr int KEY_NUMBER_COUNT = 323;  // SDL 1.2 numbered its keys 0..322
constexpr int NO_KEY_NUMBER = -1;

// The SDL 1.2 number of a key code, or NO_KEY_NUMBER for a key SDL 1.2 had
// no number for (such a key cannot be bound: the file could not keep it).
int keyNumberOf(SDL_Keycode code);

// The key code of an SDL 1.2 number, or SDLK_UNKNOWN (0, "no key") for a
// number that named no key.
SDL_Keycode keyCodeOfNumber(int number);

// The short name of a key code as the options screen shows it: letters,
// digits and punctuation as themselves, the other keys by name ("up",
// "F1", "tab", "KP_0"), "key%d" only for a code that is no key at all. The
// text lives in one buffer that the next call overwrites.
const char* keyName(SDL_Keycode code);
