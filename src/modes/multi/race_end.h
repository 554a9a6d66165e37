#pragma once

#include "core/gamestate.h"

// The race result: the winner and both players' points, distance and
// longest run. Enter races the same level again, Escape goes back to the
// mode selection.
class RaceEnd : public Gamestate {
public:
    void enter() override;
    int handleEvent(SDL_Event event, SDL_Keysym key) override;
    void draw() override;
    void update(int elapsedMs) override;
};
