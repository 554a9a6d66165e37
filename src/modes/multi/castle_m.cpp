#include "modes/multi/castle_m.h"

void CastleM::enter() {}

int CastleM::handleEvent(SDL_Event event, SDL_keysym key) {
    if (event.type == SDL_KEYDOWN && key.sym == SDLK_ESCAPE) switchToState(STATE_MENU);
    return 0;
}

void CastleM::draw() {}

void CastleM::update(int) {}
