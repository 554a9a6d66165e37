#pragma once

#include <climits>

#include "level/level.h"
#include "sim/craft.h"

// The passes over the track of a play frame: blocks, stencil shadows and
// halos. Each reads Draw-Dist, Shadow-Dist and Details anew every call.

// Single player and time attack: the blocks within Draw-Dist ahead of and
// 5000 behind the reference z (the craft's z); the walk from the far end
// stops at the first block left 23000 behind that cannot move.
void drawTrack(const Level& level, int referenceZ);

// Split-screen track pass for one viewport. The reference is the viewer's
// camZ; the distance for the detail choice is measured from its craft.
struct SplitTrackOptions {
    // Race: blocks whose z lies beyond this mark are drawn dimmed to 0.3.
    int leadingMark = INT_MAX;
    // Castle attack: turning yellow stars over powerup blocks that can be
    // taken, turned by the spin angle.
    bool powerupItems = false;
    int spinAngle = 0;
};
// facing: +1 for a craft driving toward +z, -1 toward -z.
void drawSplitTrack(const Level& level, const Craft& viewer, int facing, const SplitTrackOptions& options);

// Stencil shadow volumes (depth-fail) of the blocks within Shadow-Dist and
// of the crafts, then one darkening quad over the viewport. Does nothing
// while Shadows is off or in the glow pass (its target has no stencil).
void drawShadows(const Level& level, const Craft* const* crafts, int craftCount, int referenceZ);
// Split screen: only the two crafts cast, and only at Details 2 or more.
void drawSplitShadows(const Craft& craftA, const Craft& craftB);

// Colours and growths of the halos around HURT and ICE blocks.
struct HaloStyle {
    float hurtColour[4];
    int hurtGrowth;
    float iceColour[4];
    int iceGrowth;
};
extern const HaloStyle HALO_SINGLE;       // runs in the glow pass too
extern const HaloStyle HALO_TIME_ATTACK;  // runs in the glow pass too
extern const HaloStyle HALO_SPLIT;        // race and castle attack, normal pass only

// Additive enlarged copies of HURT and ICE blocks.
void drawHalos(const Level& level, int referenceZ, const HaloStyle& style);
// Castle attack walks as its track pass does for each facing.
void drawSplitHalos(const Level& level, int referenceZ, int facing, const HaloStyle& style);
