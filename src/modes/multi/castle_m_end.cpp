#include "modes/multi/castle_m_end.h"

void CastleMEnd::enter() {}

int CastleMEnd::handleEvent(SDL_Event event, SDL_keysym key) {
    if (event.type == SDL_KEYDOWN && key.sym == SDLK_ESCAPE) switchToState(STATE_MENU);
    return 0;
}

void CastleMEnd::draw() {}

void CastleMEnd::update(int) {}
