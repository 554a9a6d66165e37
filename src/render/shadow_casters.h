#pragma once

#include "level/level.h"
#include "sim/craft.h"

// Which shadow volumes can change the picture. Pure arithmetic: no GL.

// A height below every block and craft of this frame: no shadow can fall
// lower, so no volume needs to reach further down.
int shadowFloor(const Level& level, const Craft* const* crafts, int craftCount);

// Whether the volume under a block can darken anything: another block or
// one of the crafts reaching into the prism below its top face, or its own
// bottom face, which lies inside the prism and shows when the eye is below
// it. Every other pixel the volume covers gets a count of zero (the block's
// own top and sides are coplanar with the volume), so a volume that reaches
// nothing may be left out without changing the picture.
bool shadowReachesAnything(const Level& level, int casterIndex, const Craft* const* crafts, int craftCount,
                           int floorY, double eyeY);

// Leaving out the volumes that reach nothing is on by default; off draws
// every caster's volume (for comparisons).
void setShadowCasterCulling(bool enabled);
bool shadowCasterCulling();
