#include "app/gamepad_port.h"

#include <cstdio>

bool GamepadPort::open(const std::string& mappingFile) {
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return false;
    // A missing file is the usual case; a damaged one only loses its lines.
    if (std::FILE* file = std::fopen(mappingFile.c_str(), "r")) {
        std::fclose(file);
        if (SDL_GameControllerAddMappingsFromFile(mappingFile.c_str()) < 0)
            std::printf("Gamepad mappings in %s not read: %s\n", mappingFile.c_str(), SDL_GetError());
    }
    return true;
}

void GamepadPort::close() {
    for (SDL_GameController*& pad : pads_) {
        if (pad != nullptr) SDL_GameControllerClose(pad);
        pad = nullptr;
    }
}

int GamepadPort::added(int deviceIndex) {
    const SDL_JoystickID instance = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    if (playerOf(instance) >= 0) return playerOf(instance);  // already open
    for (int player = 0; player < MAX_GAMEPADS; ++player) {
        if (pads_[player] != nullptr) continue;
        pads_[player] = SDL_GameControllerOpen(deviceIndex);
        if (pads_[player] == nullptr) return -1;
        const char* name = SDL_GameControllerName(pads_[player]);
        std::printf("Gamepad %d: %s (Player %d)\n", player + 1, name ? name : "", player + 1);
        return player;
    }
    return -1;
}

int GamepadPort::removed(SDL_JoystickID instance) {
    const int player = playerOf(instance);
    if (player < 0) return -1;
    SDL_GameControllerClose(pads_[player]);
    pads_[player] = nullptr;
    return player;
}

int GamepadPort::playerOf(SDL_JoystickID instance) const {
    for (int player = 0; player < MAX_GAMEPADS; ++player)
        if (pads_[player] != nullptr &&
            SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pads_[player])) == instance)
            return player;
    return -1;
}
