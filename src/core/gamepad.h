#pragma once

#include <SDL/SDL_events.h>

#include <string>
#include <vector>

// Gamepads play through the keyboard's own path: every pad event becomes the
// key presses and releases the player would have typed, so each screen,
// list, dialog and play mode takes a pad without knowing of it.
//
// Pad 0 is Player 1 (the second key group, the one single player and time
// attack steer with), pad 1 is Player 2 (the first group). The left stick
// (past its dead zone) and the d-pad give the four directions; three
// buttons give Jump, Use and Reset and one leaves (Escape). On the menus,
// lists and dialogs the directions are the cursor keys, the Jump button
// confirms (Return) and the Use button goes back (Escape).

constexpr int MAX_GAMEPADS = 2;

// The buttons, kept in gamepad.ini beside settings.ini (settings.ini keeps
// its own layout). Button numbers are SDL's for the pad.
struct PadBindings {
    int jump = 0;
    int use = 1;
    int reset = 2;
    int leave = 7;          // Start on the usual pads: Escape everywhere
    int deadZone = 12000;   // of 32767: stick travel that counts as a push
};

constexpr const char* GAMEPAD_FILE = "gamepad.ini";

// "Jump = 0" lines in any order; unknown lines and bad values keep the
// defaults, so a damaged file never takes the pads away.
PadBindings parsePadBindings(const std::string& text);
std::string padBindingsText(const PadBindings& bindings);
// Reads the file; a missing or unreadable one gives the defaults.
PadBindings readPadBindings(const std::string& path);
int writePadBindings(const std::string& path, const PadBindings& bindings);

extern PadBindings padBindings;

class GamepadTranslator {
public:
    // The key codes a pad's directions and buttons stand for. `playing` is
    // true while a run is driven (the bound keys of the pad's player), false
    // on every other screen (cursor keys, Return, Escape).
    // `keys` is the settings' key table (settings.keys).
    std::vector<SDL_Event> translate(const SDL_Event& event, bool playing, const int* keys,
                                     const PadBindings& bindings);

    // Releases everything pad `pad` holds (it was unplugged).
    std::vector<SDL_Event> releaseAll(int pad);

    static bool isPadEvent(const SDL_Event& event);

private:
    enum Input { UP, DOWN, LEFT, RIGHT, JUMP, USE, RESET, LEAVE, INPUT_COUNT };
    enum Source { STICK, HAT, BUTTON, SOURCE_COUNT };
    struct Pad {
        bool held[INPUT_COUNT][SOURCE_COUNT] = {};
        int pressedKey[INPUT_COUNT] = {};  // 0: not pressed
        int holdingButton[INPUT_COUNT] = {-1, -1, -1, -1, -1, -1, -1, -1};
    };

    void setHeld(int pad, Input input, Source source, bool down, bool playing, const int* keys,
                 std::vector<SDL_Event>& out);
    void button(int pad, int button, bool down, bool playing, const int* keys, const PadBindings& bindings,
                std::vector<SDL_Event>& out);
    static int keyFor(int pad, Input input, bool playing, const int* keys);

    Pad pads_[MAX_GAMEPADS];
};
