#include "app/gamepad_port.h"

#include <sys/stat.h>

#include <cstdio>

#include "core/gamepad.h"

GamepadPort gamepadPort;

namespace {

constexpr uint32_t LOOK_INTERVAL_MS = 2000;

// Devices come and go as nodes in /dev/input: its change time moves then.
long long inputDevicesStamp() {
    struct stat info;
    if (::stat("/dev/input", &info) != 0) return 0;
    return (long long)info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec;
}

}  // namespace

void GamepadPort::openAll() {
    const int found = SDL_NumJoysticks();
    for (int i = 0; i < found && i < MAX_GAMEPADS; ++i) {
        SDL_Joystick* pad = SDL_JoystickOpen(i);
        if (pad == nullptr) continue;
        pads_.push_back(pad);
        const char* name = SDL_JoystickName(i);
        names_.push_back(name ? name : "");
    }
    // Pad events are on from SDL's start. Setting their state again would
    // also empty the event queue and, with SDL 1.2 here, leave the game
    // deaf to SIGTERM; so it is never called.
}

void GamepadPort::open() {
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return;  // no pads: keyboard only
    devicesStamp_ = inputDevicesStamp();
    openAll();
    for (size_t i = 0; i < names_.size(); ++i)
        std::printf("Gamepad %d: %s (Player %d)\n", int(i) + 1, names_[i].c_str(), int(i) + 1);
}

void GamepadPort::close() {
    for (SDL_Joystick* pad : pads_) SDL_JoystickClose(pad);
    pads_.clear();
    names_.clear();
}

std::vector<int> GamepadPort::lostPads(uint32_t nowMs) {
    std::vector<int> lost;
    if (devicesStamp_ < 0 || nowMs - lastLookMs_ < LOOK_INTERVAL_MS) return lost;
    lastLookMs_ = nowMs;
    const long long stamp = inputDevicesStamp();
    if (stamp == devicesStamp_) return lost;
    devicesStamp_ = stamp;
    const std::vector<std::string> before = names_;
    close();
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0) openAll();
    for (size_t i = 0; i < before.size(); ++i)
        if (i >= names_.size() || names_[i] != before[i]) lost.push_back(int(i));
    return lost;
}
