#pragma once

#include <GL/gl.h>

// Pieces the time-attack screens share: flat image pieces such as the title
// strip cut from the title image, and the list's scroll arrows. Positions
// are fractions of the window, y measured upward.

// A piece of `texture` (u from uLeft to uRight, v from vBottom at the bottom
// edge to vTop at the top edge) blended onto the quad in the current colour,
// with depth test and lighting off while it draws; the colour is white
// afterwards.
void drawFlatPiece(GLuint texture, double left, double bottom, double right, double top, float uLeft,
                   float uRight, float vBottom, float vTop);

// A band of titleTexture (v from vTop at the top edge to vBottom at the
// bottom edge, the whole width) blended onto the quad, tinted.
void drawTitleStrip(float left, float bottom, float right, float top, float vTop, float vBottom,
                    float red, float green, float blue);

// The "gui" arrows beside a list: lit blue when rows are hidden on that side.
void drawScrollArrows(bool hiddenAbove, bool hiddenBelow);

// Window fraction to whole pixels, dropping the fraction.
int pixelX(double fraction);
int pixelY(double fraction);

// The time-attack screens' backdrop: "space1" dimmed to 0.7.
void drawListBackdrop();
