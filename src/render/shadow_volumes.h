#pragma once

#include "level/level.h"
#include "sim/craft.h"

// Depth-fail stencil shadows cast straight down. begin turns colour and
// depth writes off; each cast draws a volume twice (back faces increment,
// front faces decrement where the depth test fails); shade darkens every
// pixel with a non-zero count and restores the usual state.
void beginShadowVolumes();
// floorY: a height below every surface that can receive a shadow this
// frame. A volume never needs to reach further down than that, and a short
// volume covers far fewer pixels than the full 100000 units.
void castBlockShadow(const BlockBody& body, int floorY);
void castCraftShadow(const Craft& craft);
void shadeShadowedPixels();
// The darkening quad covers only the window rectangle the volumes reach
// (the same pixels); off covers the whole viewport (for comparisons).
void setBoundedShadowShade(bool enabled);
