#include "frontend/options.h"

void Options::enter() {}

int Options::handleEvent(SDL_Event event, SDL_keysym key) {
    if (event.type == SDL_KEYDOWN && key.sym == SDLK_ESCAPE) switchToState(STATE_MENU);
    return 0;
}

void Options::draw() {}

void Options::update(int) {}
