#include "modes/single/single_pl_c_sel.h"

void SinglePlCSel::enter() {}

int SinglePlCSel::handleEvent(SDL_Event event, SDL_keysym key) {
    if (event.type == SDL_KEYDOWN && key.sym == SDLK_ESCAPE) switchToState(STATE_MENU);
    return 0;
}

void SinglePlCSel::draw() {}

void SinglePlCSel::update(int) {}
