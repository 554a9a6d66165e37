#pragma once

#include "level/level.h"
#include "sim/craft.h"

// Depth-fail stencil shadows cast straight down. begin turns colour and
// depth writes off; each cast draws a volume twice (back faces increment,
// front faces decrement where the depth test fails); shade darkens every
// pixel with a non-zero count and restores the usual state.
void beginShadowVolumes();
void castBlockShadow(const BlockBody& body);
void castCraftShadow(const Craft& craft);
void shadeShadowedPixels();
