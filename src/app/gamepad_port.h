#pragma once

#include <SDL2/SDL.h>

#include <string>

#include "core/gamepad.h"

// The game controllers plugged in, each opened as one player's pad: the
// first is Player 1's, the second Player 2's, and a pad plugged in later
// takes the first free place. SDL reports pads plugged in and pulled out
// (also those present at the start) as device events, which the main loop
// hands over here. Mappings come from SDL's database, the
// SDL_GAMECONTROLLERCONFIG variable and the player's own mapping file.
class GamepadPort {
public:
    // Starts SDL's game controllers and reads `mappingFile` when it exists.
    // False (keyboard only) when they cannot start.
    bool open(const std::string& mappingFile);
    void close();

    // SDL_CONTROLLERDEVICEADDED: opens the pad of that device index; its
    // player (0 or 1), or -1 when both places are taken.
    int added(int deviceIndex);
    // SDL_CONTROLLERDEVICEREMOVED: closes the pad; the player it was, or -1.
    int removed(SDL_JoystickID instance);
    // The player whose pad sent an event, or -1.
    int playerOf(SDL_JoystickID instance) const;

private:
    SDL_GameController* pads_[MAX_GAMEPADS] = {};
};

// The player's own controller mappings (SDL's gamecontrollerdb.txt format),
// beside gamepad.ini.
constexpr const char* GAMEPAD_MAPPING_FILE = "gamecontrollerdb.txt";
