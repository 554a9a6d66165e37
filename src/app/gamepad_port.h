#pragma once

#include <SDL/SDL.h>

#include <cstdint>
#include <string>
#include <vector>

// The pads SDL finds, opened so their events arrive with the keyboard's.
// SDL 1.2 says nothing when a pad is plugged in or pulled out, so the port
// looks at /dev/input every two seconds and opens the pads again when it
// changed; a pad that went away is reported so its held keys are released.
class GamepadPort {
public:
    void open();
    void close();
    // The pads gone since the last look; checks at most every two seconds.
    std::vector<int> lostPads(uint32_t nowMs);
    int count() const { return int(pads_.size()); }

private:
    void openAll();

    std::vector<SDL_Joystick*> pads_;
    std::vector<std::string> names_;
    uint32_t lastLookMs_ = 0;
    long long devicesStamp_ = -1;
};

extern GamepadPort gamepadPort;
