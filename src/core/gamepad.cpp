#include "core/gamepad.h"

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <sstream>

#include "core/atomic_file.h"
#include "core/byte_io.h"
#include "core/settings.h"

PadBindings padBindings;

namespace {

struct BindingLine {
    const char* name;
    int PadBindings::*field;
    bool button;  // written by name; else a number within lowest..highest
    int lowest, highest;
};

const BindingLine BINDING_LINES[] = {
    {"Jump", &PadBindings::jump, true, 0, 0},   {"Use", &PadBindings::use, true, 0, 0},
    {"Reset", &PadBindings::reset, true, 0, 0}, {"Leave", &PadBindings::leave, true, 0, 0},
    {"DeadZone", &PadBindings::deadZone, false, 1000, 32000},
};

// In SDL_GameControllerButton order.
const char* const BUTTON_NAMES[SDL_CONTROLLER_BUTTON_MAX] = {
    "A", "B", "X", "Y", "Back", "Guide", "Start", "L3", "R3", "LB", "RB",
    "Up", "Down", "Left", "Right", "Misc", "Paddle 1", "Paddle 2", "Paddle 3", "Paddle 4", "Touchpad"};

// The buttons earlier versions stored as the common pads' driver numbers.
constexpr int OLD_BUTTON_NUMBERS[] = {
    SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_X,
    SDL_CONTROLLER_BUTTON_Y, SDL_CONTROLLER_BUTTON_LEFTSHOULDER, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
    SDL_CONTROLLER_BUTTON_BACK, SDL_CONTROLLER_BUTTON_START, SDL_CONTROLLER_BUTTON_GUIDE,
    SDL_CONTROLLER_BUTTON_LEFTSTICK, SDL_CONTROLLER_BUTTON_RIGHTSTICK};

int buttonNamed(const std::string& name) {
    for (int button = 0; button < SDL_CONTROLLER_BUTTON_MAX; ++button)
        if (name == BUTTON_NAMES[button]) return button;
    return SDL_CONTROLLER_BUTTON_INVALID;
}

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return std::string();
    const std::size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

SDL_Event keyEvent(int key, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.type = event.type;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = SDL_Keycode(key);
    return event;
}

}  // namespace

const char* padButtonName(int button) {
    return button >= 0 && button < SDL_CONTROLLER_BUTTON_MAX ? BUTTON_NAMES[button] : "";
}

PadBindings parsePadBindings(const std::string& text, bool* oldNumbers) {
    PadBindings bindings;
    if (oldNumbers) *oldNumbers = false;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::string name = trimmed(line.substr(0, equals));
        const std::string value = trimmed(line.substr(equals + 1));
        char* end = nullptr;
        const long number = std::strtol(value.c_str(), &end, 10);
        const bool isNumber = !value.empty() && *end == '\0';
        for (const BindingLine& known : BINDING_LINES) {
            if (name != known.name) continue;
            if (!known.button) {
                if (isNumber && number >= known.lowest && number <= known.highest) bindings.*known.field = int(number);
            } else if (isNumber) {
                if (oldNumbers) *oldNumbers = true;
                if (number >= 0 && number < long(std::size(OLD_BUTTON_NUMBERS)))
                    bindings.*known.field = OLD_BUTTON_NUMBERS[number];
            } else if (buttonNamed(value) != SDL_CONTROLLER_BUTTON_INVALID) {
                bindings.*known.field = buttonNamed(value);
            }
        }
    }
    return bindings;
}

std::string padBindingsText(const PadBindings& bindings) {
    std::string text = "[GAMEPAD]\n";
    for (const BindingLine& line : BINDING_LINES) {
        const int value = bindings.*line.field;
        text += std::string(line.name) + " = " + (line.button ? padButtonName(value) : std::to_string(value)) + "\n";
    }
    return text;
}

PadBindings readPadBindings(const std::string& path, bool* oldNumbers) {
    std::string text;
    if (oldNumbers) *oldNumbers = false;
    if (!readWholeFile(path, text)) return PadBindings();
    return parsePadBindings(text, oldNumbers);
}

int writePadBindings(const std::string& path, const PadBindings& bindings) {
    return writeFileAtomically(path, padBindingsText(bindings));
}

bool GamepadTranslator::isPadInput(const SDL_Event& event) {
    return event.type == SDL_CONTROLLERAXISMOTION || event.type == SDL_CONTROLLERBUTTONDOWN ||
           event.type == SDL_CONTROLLERBUTTONUP;
}

int GamepadTranslator::keyFor(int pad, Input input, bool playing, const int* keys) {
    if (!playing) {
        switch (input) {
            case UP: return SDLK_UP;
            case DOWN: return SDLK_DOWN;
            case LEFT: return SDLK_LEFT;
            case RIGHT: return SDLK_RIGHT;
            case JUMP: return SDLK_RETURN;
            case USE:
            case LEAVE: return SDLK_ESCAPE;
            default: return 0;  // Reset means nothing off the track
        }
    }
    if (input == LEAVE) return SDLK_ESCAPE;
    // Pad 0 drives with the second key group (Player 1), pad 1 with the first.
    const int group = pad == 0 ? KEY_FORWARD2 : KEY_FORWARD1;
    switch (input) {
        case UP: return keys[group + (KEY_FORWARD1 - KEY_FORWARD1)];
        case DOWN: return keys[group + (KEY_BACKWARD1 - KEY_FORWARD1)];
        case RIGHT: return keys[group + (KEY_RIGHT1 - KEY_FORWARD1)];
        case LEFT: return keys[group + (KEY_LEFT1 - KEY_FORWARD1)];
        case JUMP: return keys[group + (KEY_JUMP1 - KEY_FORWARD1)];
        case RESET: return keys[group + (KEY_RESET1 - KEY_FORWARD1)];
        case USE: return keys[group + (KEY_USE1 - KEY_FORWARD1)];
        default: return 0;
    }
}

// An input is held while any of its sources holds it (stick and d-pad both
// steer). Its release sends the very key its press sent, even when the
// screen changed in between, so no key stays held.
void GamepadTranslator::setHeld(int pad, Input input, Source source, bool down, bool playing, const int* keys,
                                std::vector<SDL_Event>& out) {
    Pad& state = pads_[pad];
    state.held[input][source] = down;
    bool anyHeld = false;
    for (bool held : state.held[input]) anyHeld = anyHeld || held;
    int& pressed = state.pressedKey[input];
    if (anyHeld && pressed == 0) {
        pressed = keyFor(pad, input, playing, keys);
        if (pressed != 0) out.push_back(keyEvent(pressed, true));
    } else if (!anyHeld && pressed != 0) {
        out.push_back(keyEvent(pressed, false));
        pressed = 0;
    }
}

// One button may serve several inputs when the player binds it so. A
// release lets go of what the press took, even if the binding changed while
// the button was down.
void GamepadTranslator::button(int pad, int button, bool down, bool playing, const int* keys,
                               const PadBindings& bindings, std::vector<SDL_Event>& out) {
    const int bound[INPUT_COUNT] = {-1, -1, -1, -1, bindings.jump, bindings.use, bindings.reset, bindings.leave};
    for (int input = 0; input < INPUT_COUNT; ++input) {
        int& holder = pads_[pad].holdingButton[input];
        if (down && bound[input] == button && holder < 0) {
            holder = button;
            setHeld(pad, Input(input), BUTTON, true, playing, keys, out);
        } else if (!down && holder == button) {
            holder = -1;
            setHeld(pad, Input(input), BUTTON, false, playing, keys, out);
        }
    }
}

std::vector<SDL_Event> GamepadTranslator::translate(const SDL_Event& event, int pad, bool playing, const int* keys,
                                                    const PadBindings& bindings) {
    std::vector<SDL_Event> out;
    if (pad < 0 || pad >= MAX_GAMEPADS) return out;
    switch (event.type) {
        case SDL_CONTROLLERAXISMOTION: {
            const int axis = event.caxis.axis;
            if (axis != SDL_CONTROLLER_AXIS_LEFTX && axis != SDL_CONTROLLER_AXIS_LEFTY) break;
            const int value = event.caxis.value;
            const Input negative = axis == SDL_CONTROLLER_AXIS_LEFTX ? LEFT : UP;
            const Input positive = axis == SDL_CONTROLLER_AXIS_LEFTX ? RIGHT : DOWN;
            setHeld(pad, negative, STICK, value < -bindings.deadZone, playing, keys, out);
            setHeld(pad, positive, STICK, value > bindings.deadZone, playing, keys, out);
            break;
        }
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP: {
            const bool down = event.type == SDL_CONTROLLERBUTTONDOWN;
            switch (event.cbutton.button) {
                case SDL_CONTROLLER_BUTTON_DPAD_UP: setHeld(pad, UP, DPAD, down, playing, keys, out); break;
                case SDL_CONTROLLER_BUTTON_DPAD_DOWN: setHeld(pad, DOWN, DPAD, down, playing, keys, out); break;
                case SDL_CONTROLLER_BUTTON_DPAD_LEFT: setHeld(pad, LEFT, DPAD, down, playing, keys, out); break;
                case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: setHeld(pad, RIGHT, DPAD, down, playing, keys, out); break;
                default: break;
            }
            button(pad, event.cbutton.button, down, playing, keys, bindings, out);
            break;
        }
        default: break;
    }
    return out;
}

std::vector<SDL_Event> GamepadTranslator::releaseAll(int pad) {
    std::vector<SDL_Event> out;
    if (pad < 0 || pad >= MAX_GAMEPADS) return out;
    for (int& pressed : pads_[pad].pressedKey) {
        if (pressed != 0) out.push_back(keyEvent(pressed, false));
        pressed = 0;
    }
    pads_[pad] = Pad();
    return out;
}
