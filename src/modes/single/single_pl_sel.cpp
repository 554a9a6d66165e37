#include "modes/single/single_pl_sel.h"

void SinglePlSel::enter() {}

int SinglePlSel::handleEvent(SDL_Event event, SDL_keysym key) {
    if (event.type == SDL_KEYDOWN && key.sym == SDLK_ESCAPE) switchToState(STATE_MENU);
    return 0;
}

void SinglePlSel::draw() {}

void SinglePlSel::update(int) {}
