#pragma once

#include "core/gamestate.h"

// Creates the fifteen states in their fixed order / deletes them at shutdown.
void createStates();
void destroyStates();
