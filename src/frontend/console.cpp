#include "frontend/console.h"

void Console::enter() {}

int Console::handleEvent(SDL_Event event, SDL_keysym key) {
    if (event.type == SDL_KEYDOWN && key.sym == SDLK_ESCAPE) switchToState(STATE_MENU);
    return 0;
}

void Console::draw() {}

void Console::update(int) {}

