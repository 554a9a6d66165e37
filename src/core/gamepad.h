#pragma once

#include <SDL2/SDL_events.h>
#include <SDL2/SDL_gamecontroller.h>

#include <string>
#include <vector>

// Gamepads play through the keyboard's own path: every pad event becomes the
// key presses and releases the player would have typed, so each screen,
// list, dialog and play mode takes a pad without knowing of it.
//
// Pads are SDL game controllers: SDL's mapping database names each pad's
// buttons by their position on a standard pad (A at the bottom, B right,
// X left, Y top), whatever numbers the hardware gives them.
//
// Pad 0 is Player 1 (the second key group, the one single player and time
// attack steer with), pad 1 is Player 2 (the first group). The left stick
// (past its dead zone) and the d-pad give the four directions; three
// buttons give Jump, Use and Reset and one leaves (Escape). On the menus,
// lists and dialogs the directions are the cursor keys, the Jump button
// confirms (Return) and the Use button goes back (Escape).

constexpr int MAX_GAMEPADS = 2;

// The buttons, kept in gamepad.ini beside settings.ini (settings.ini keeps
// its own layout), as SDL_GameControllerButton values.
struct PadBindings {
    int jump = SDL_CONTROLLER_BUTTON_A;
    int use = SDL_CONTROLLER_BUTTON_B;
    int reset = SDL_CONTROLLER_BUTTON_X;
    int leave = SDL_CONTROLLER_BUTTON_START;  // Escape everywhere
    int deadZone = 12000;                      // of 32767: stick travel that counts as a push
};

constexpr const char* GAMEPAD_FILE = "gamepad.ini";

// The name of a button by its position, as the options screen and
// gamepad.ini write it ("A", "Start", "LB"); "" for no button.
const char* padButtonName(int button);

// "Jump = A" lines in any order; unknown lines and bad values keep the
// defaults, so a damaged file never takes the pads away. Files of earlier
// versions numbered the buttons as the common pads' drivers do (0 A, 1 B,
// 2 X, 3 Y, 4 LB, 5 RB, 6 Back, 7 Start, 8 Guide, 9 and 10 the sticks):
// such a number is read as that button, and `oldNumbers` (when given) says
// the file should be written again in today's terms.
PadBindings parsePadBindings(const std::string& text, bool* oldNumbers = nullptr);
std::string padBindingsText(const PadBindings& bindings);
// Reads the file; a missing or unreadable one gives the defaults.
PadBindings readPadBindings(const std::string& path, bool* oldNumbers = nullptr);
int writePadBindings(const std::string& path, const PadBindings& bindings);

extern PadBindings padBindings;

class GamepadTranslator {
public:
    // The key events a controller event of pad `pad` (0 or 1: the player,
    // not SDL's instance id) stands for. `playing` is true while a run is
    // driven (the bound keys of the pad's player), false on every other
    // screen (cursor keys, Return, Escape). `keys` is the settings' key
    // table (settings.keys).
    std::vector<SDL_Event> translate(const SDL_Event& event, int pad, bool playing, const int* keys,
                                     const PadBindings& bindings);

    // Releases everything pad `pad` holds (it was unplugged) and forgets
    // it, so a pad plugged in again starts with nothing held.
    std::vector<SDL_Event> releaseAll(int pad);

    // Button presses and releases, stick motion.
    static bool isPadInput(const SDL_Event& event);

private:
    enum Input { UP, DOWN, LEFT, RIGHT, JUMP, USE, RESET, LEAVE, INPUT_COUNT };
    enum Source { STICK, DPAD, BUTTON, SOURCE_COUNT };
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
