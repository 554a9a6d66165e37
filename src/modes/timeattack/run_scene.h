#pragma once

#include "level/level.h"
#include "sim/craft.h"

// The 3D picture of a one-craft time-attack view, from the craft's chase
// camera: backdrop, track, the craft, halos (Glow), shadows (Shadows), its
// trail and jump puff. A run, the editor's test-drive and a record's replay
// all draw it; each adds its own ghost and words on top. Without blocks
// only the backdrop is drawn.
void drawRunScene(Craft& craft, const Level& level, int backgroundIndex);
