#pragma once

#include "core/gamestate.h"

// Not built yet: an empty screen that Escape leaves back to the menu.
class CastleM : public Gamestate {
public:
    void enter() override;
    int handleEvent(SDL_Event event, SDL_keysym key) override;
    void draw() override;
    void update(int elapsedMs) override;
};
