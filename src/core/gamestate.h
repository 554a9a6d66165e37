#pragma once

#include <SDL2/SDL.h>

#include "core/state_ids.h"

// One screen or play mode. Every state lives for the whole run in the state
// table; switchToState calls enter, nothing tells a state it is left.
class Gamestate {
public:
    virtual ~Gamestate() = default;
    virtual void enter() = 0;
    // Returns -1 to end the program; any other value is ignored.
    virtual int handleEvent(SDL_Event event, SDL_Keysym key) = 0;
    virtual void draw() = 0;
    virtual void update(int elapsedMs) = 0;

    // Gamepads: a pad's buttons reach the states as the keys they stand for
    // (core/gamepad.h). A state that wants a raw button (the options screen
    // binding one) takes it here and returns true; the button then stands
    // for no key.
    virtual bool takePadButton(int /*pad*/, int /*button*/) { return false; }
    // True while the crafts are driven: pad directions and buttons then give
    // the players' bound keys instead of the menus' cursor keys.
    virtual bool drivesCrafts() const { return false; }
};

extern Gamestate* stateTable[STATE_COUNT];
extern Gamestate* currentState;
extern Gamestate* returnState;

void switchToState(int id);

// The console is an overlay: opening and closing it swaps the current state
// without calling enter, so the state underneath is paused, not reset.
void openConsole();
void closeConsole();

template <class T>
T& stateObject(int id) { return *static_cast<T*>(stateTable[id]); }
