#include "editor/level_ed.h"

void LevelEd::enter() {}

int LevelEd::handleEvent(SDL_Event event, SDL_keysym key) {
    if (event.type == SDL_KEYDOWN && key.sym == SDLK_ESCAPE) switchToState(STATE_MENU);
    return 0;
}

void LevelEd::draw() {}

void LevelEd::update(int) {}
