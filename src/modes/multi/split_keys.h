#pragma once

#include <SDL2/SDL.h>

#include "sim/craft.h"

// The keys both split-screen play states treat alike: a released key lets go
// in both crafts, Escape returns to the mode selection, Tab or backquote
// opens the console over the paused game. True when the event was one of
// those (or no key press at all), so the state has nothing more to do;
// otherwise the state handles its own keys and then marks the key held.
bool routeSplitScreenKey(SDL_Event event, SDL_Keysym key, Craft& a, Craft& b);
