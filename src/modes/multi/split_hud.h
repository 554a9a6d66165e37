#pragma once

#include "sim/craft.h"

// Text of the two-player split screens.

// Text at (x, y) as fractions of one player's half (A below, B above),
// drawn over the whole window so that the glyphs keep their shape.
void drawHalfText(int player, double x, double y, float scale, const char* text);

// Top pixel row of the held power-up's icon in a player's half: the icon
// (0.075 of the window high, as drawPowerupIcon draws it) stands on the
// half's 0.1 line, beside the castle health, wholly inside its half.
int halfPowerupIconTop(int player);

// The debug lines at the left edge, craft B's value first ("Player 1").
void drawTwoPlayerDebugLines(const Craft& b, const Craft& a);

// Whole pixels of a window fraction.
int windowPixelX(double fraction);
int windowPixelY(double fraction);
