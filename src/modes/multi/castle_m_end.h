#pragma once

#include "core/gamestate.h"

// The duel's result: the winner and both players' deaths and power-ups.
// Enter starts a fresh duel on the same level, Escape goes back to the mode
// selection.
class CastleMEnd : public Gamestate {
public:
    void enter() override;
    int handleEvent(SDL_Event event, SDL_Keysym key) override;
    void draw() override;
    void update(int elapsedMs) override;
};
