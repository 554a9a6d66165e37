#include "frontend/console.h"

void Console::enter() {}

int Console::handleEvent(SDL_Event event, SDL_keysym key) {
    if (event.type == SDL_KEYDOWN && key.sym == SDLK_ESCAPE) switchToState(STATE_MENU);
    return 0;
}

void Console::draw() {}

void Console::update(int) {}

#include "frontend/console_print.h"

#include <cstdio>

// Placeholder history until the console is built: keeps the text visible on
// standard output.
void consolePrint(const char* text) { std::printf("%s\n", text); }
