#include "modes/multi/mode_sel_m.h"

void ModeSelM::enter() {}

int ModeSelM::handleEvent(SDL_Event event, SDL_keysym key) {
    if (event.type == SDL_KEYDOWN && key.sym == SDLK_ESCAPE) switchToState(STATE_MENU);
    return 0;
}

void ModeSelM::draw() {}

void ModeSelM::update(int) {}
