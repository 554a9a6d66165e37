#pragma once

// Draws one complete frame of the current state: the glow pass into its
// off-screen target and the bloom composite when the effect is on, the
// normal pass in between, then the buffer swap.
void renderFrame();

// The glow pass and bloom run only with shaders available at "ultra" detail.
bool glowFrameEnabled();
