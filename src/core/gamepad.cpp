#include "core/gamepad.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "core/atomic_file.h"
#include "core/byte_io.h"
#include "core/settings.h"

PadBindings padBindings;

namespace {

struct BindingLine {
    const char* name;
    int PadBindings::*field;
    int lowest, highest;
};

const BindingLine BINDING_LINES[] = {
    {"Jump", &PadBindings::jump, 0, 31},  {"Use", &PadBindings::use, 0, 31},
    {"Reset", &PadBindings::reset, 0, 31}, {"Leave", &PadBindings::leave, 0, 31},
    {"DeadZone", &PadBindings::deadZone, 1000, 32000},
};

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
    event.key.keysym.sym = SDLKey(key);
    return event;
}

}  // namespace

PadBindings parsePadBindings(const std::string& text) {
    PadBindings bindings;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::string name = trimmed(line.substr(0, equals));
        const std::string value = trimmed(line.substr(equals + 1));
        char* end = nullptr;
        const long number = std::strtol(value.c_str(), &end, 10);
        if (value.empty() || *end != '\0') continue;
        for (const BindingLine& known : BINDING_LINES)
            if (name == known.name && number >= known.lowest && number <= known.highest)
                bindings.*known.field = int(number);
    }
    return bindings;
}

std::string padBindingsText(const PadBindings& bindings) {
    std::string text = "[GAMEPAD]\n";
    for (const BindingLine& line : BINDING_LINES)
        text += std::string(line.name) + " = " + std::to_string(bindings.*line.field) + "\n";
    return text;
}

PadBindings readPadBindings(const std::string& path) {
    std::string text;
    if (!readWholeFile(path, text)) return PadBindings();
    return parsePadBindings(text);
}

int writePadBindings(const std::string& path, const PadBindings& bindings) {
    return writeFileAtomically(path, padBindingsText(bindings));
}

bool GamepadTranslator::isPadEvent(const SDL_Event& event) {
    return event.type == SDL_JOYAXISMOTION || event.type == SDL_JOYHATMOTION || event.type == SDL_JOYBUTTONDOWN ||
           event.type == SDL_JOYBUTTONUP;
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

std::vector<SDL_Event> GamepadTranslator::translate(const SDL_Event& event, bool playing, const int* keys,
                                                    const PadBindings& bindings) {
    std::vector<SDL_Event> out;
    switch (event.type) {
        case SDL_JOYAXISMOTION: {
            const int pad = event.jaxis.which;
            if (pad >= MAX_GAMEPADS || event.jaxis.axis > 1) break;
            const int value = event.jaxis.value;
            const Input negative = event.jaxis.axis == 0 ? LEFT : UP;
            const Input positive = event.jaxis.axis == 0 ? RIGHT : DOWN;
            setHeld(pad, negative, STICK, value < -bindings.deadZone, playing, keys, out);
            setHeld(pad, positive, STICK, value > bindings.deadZone, playing, keys, out);
            break;
        }
        case SDL_JOYHATMOTION: {
            const int pad = event.jhat.which;
            if (pad >= MAX_GAMEPADS || event.jhat.hat != 0) break;
            setHeld(pad, UP, HAT, (event.jhat.value & SDL_HAT_UP) != 0, playing, keys, out);
            setHeld(pad, DOWN, HAT, (event.jhat.value & SDL_HAT_DOWN) != 0, playing, keys, out);
            setHeld(pad, LEFT, HAT, (event.jhat.value & SDL_HAT_LEFT) != 0, playing, keys, out);
            setHeld(pad, RIGHT, HAT, (event.jhat.value & SDL_HAT_RIGHT) != 0, playing, keys, out);
            break;
        }
        case SDL_JOYBUTTONDOWN:
        case SDL_JOYBUTTONUP:
            if (event.jbutton.which < MAX_GAMEPADS)
                button(event.jbutton.which, event.jbutton.button, event.type == SDL_JOYBUTTONDOWN, playing, keys,
                       bindings, out);
            break;
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
