#include "core/gamestate.h"

// The table is filled by the application frame at start-up; screens only
// switch between its entries.
Gamestate* stateTable[STATE_COUNT] = {};
Gamestate* currentState = nullptr;
Gamestate* returnState = nullptr;

void switchToState(int id) {
    currentState = stateTable[id];
    currentState->enter();
}

void openConsole() {
    returnState = currentState;
    currentState = stateTable[STATE_CONSOLE];
}

void closeConsole() { currentState = returnState; }
