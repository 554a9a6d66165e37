#pragma once

#include <GL/gl.h>

// Glow post-processing at "ultra" detail: the glow pass renders into an
// off-screen target, three fragment programs blur it, and renderFrame adds
// the result onto the window.

// Checks the driver's extensions and looks up the entry points. 0 or -1;
// clears shadersActive on failure.
int loadGlowExtensions();
// Framebuffer, depth render buffer and the two glow textures. 0, or -1
// with the status line printed, the window's framebuffer bound again and
// nothing left allocated.
int createGlowTargets();
// Compiles and links the three programs (reports logs, never fails).
void loadGlowShaders();

void bindGlowFramebuffer();    // glow target, first colour attachment as draw buffer
void bindWindowFramebuffer();  // framebuffer 0
// Turns the glow pass's image into the blurred glow image.
void runGlowBlur();
// The texture that holds the blurred glow image.
GLuint glowTexture();
// Adds the glow image over 0..width x 0..height `layers` times (additive
// blending must be on): in one pass through the composite program, which
// gives the same pixels as the layers one by one (8-bit sums saturate
// either way), or layer by layer without it.
void drawGlowLayers(int width, int height, int layers);
// Off draws the layers one by one even with the program (for comparisons).
void setSinglePassComposite(bool enabled);
// Off adds the glow image over the whole window, black parts too (for
// comparisons); on, only the tiles of it that hold some light.
void setLitTilesOnly(bool enabled);
// Releases programs, textures, framebuffer and render buffer.
void releaseGlow();
