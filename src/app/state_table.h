#pragma once

#include "core/gamestate.h"

// Creates the fifteen states in their fixed order / deletes them at shutdown.
void createStates();
void destroyStates();

// The screens laid out as one 4:3 page (menus, lists, options, results):
// a window of another shape shows them whole, between black bars. The play
// views and the editor use the whole window. The console keeps the shape
// of the screen it is open over.
bool keepsScreenProportions(const Gamestate* state);
