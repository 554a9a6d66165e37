#include "modes/multi/race_m.h"

void RaceM::enter() {}

int RaceM::handleEvent(SDL_Event event, SDL_keysym key) {
    if (event.type == SDL_KEYDOWN && key.sym == SDLK_ESCAPE) switchToState(STATE_MENU);
    return 0;
}

void RaceM::draw() {}

void RaceM::update(int) {}
