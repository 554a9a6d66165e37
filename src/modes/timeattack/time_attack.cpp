#include "modes/timeattack/time_attack.h"

void TimeAttack::enter() {}

int TimeAttack::handleEvent(SDL_Event event, SDL_keysym key) {
    if (event.type == SDL_KEYDOWN && key.sym == SDLK_ESCAPE) switchToState(STATE_MENU);
    return 0;
}

void TimeAttack::draw() {}

void TimeAttack::update(int) {}
