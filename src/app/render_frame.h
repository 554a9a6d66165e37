#pragma once

// Draws one complete frame of the current state: the glow pass into its
// off-screen target and the bloom composite when the effect is on, the
// normal pass in between, then the buffer swap.
void renderFrame();

// The glow pass and bloom run only with shaders available at "ultra" detail.
bool glowFrameEnabled();

// Where a state draws in a window of w x h pixels: the whole window, or for
// the screens laid out as a page (render/camera.h: menus, lists, options,
// results) the largest area of the page's shape in its middle, with black
// bars beside or above it.
struct DrawArea {
    int x, y, width, height;
};
DrawArea drawAreaFor(int windowWidth, int windowHeight, bool keepsProportions);
