#include "modes/timeattack/level_end.h"

void LevelEnd::enter() {}

int LevelEnd::handleEvent(SDL_Event event, SDL_keysym key) {
    if (event.type == SDL_KEYDOWN && key.sym == SDLK_ESCAPE) switchToState(STATE_MENU);
    return 0;
}

void LevelEnd::draw() {}

void LevelEnd::update(int) {}
