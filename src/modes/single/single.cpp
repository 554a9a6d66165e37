#include "modes/single/single.h"

void Single::enter() {}

int Single::handleEvent(SDL_Event event, SDL_keysym key) {
    if (event.type == SDL_KEYDOWN && key.sym == SDLK_ESCAPE) switchToState(STATE_MENU);
    return 0;
}

void Single::draw() {}

void Single::update(int) {}
