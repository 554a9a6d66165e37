#include "modes/timeattack/map_sel.h"

void MapSel::enter() {}

int MapSel::handleEvent(SDL_Event event, SDL_keysym key) {
    if (event.type == SDL_KEYDOWN && key.sym == SDLK_ESCAPE) switchToState(STATE_MENU);
    return 0;
}

void MapSel::draw() {}

void MapSel::update(int) {}
