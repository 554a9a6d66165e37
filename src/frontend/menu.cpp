#include "frontend/menu.h"

void Menu::enter() {}

int Menu::handleEvent(SDL_Event event, SDL_keysym key) {
    if (event.type == SDL_KEYDOWN && key.sym == SDLK_ESCAPE) switchToState(STATE_MENU);
    return 0;
}

void Menu::draw() {}

void Menu::update(int) {}
