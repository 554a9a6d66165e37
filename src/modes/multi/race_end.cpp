#include "modes/multi/race_end.h"

void RaceEnd::enter() {}

int RaceEnd::handleEvent(SDL_Event event, SDL_keysym key) {
    if (event.type == SDL_KEYDOWN && key.sym == SDLK_ESCAPE) switchToState(STATE_MENU);
    return 0;
}

void RaceEnd::draw() {}

void RaceEnd::update(int) {}
