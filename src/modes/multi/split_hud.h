#pragma once

#include <string>

#include "render/objects.h"
#include "sim/craft.h"

// Text of the two-player split screens and their end screens.

// Each player's own colour: the craft, the words of its half and its lines
// on the end screens.
const CraftPaint& playerPaint(int player);
// "Player 1" for craft B (the second key group), "Player 2" for craft A.
std::string playerName(int player);

// Text at (x, y) as fractions of one player's half (A below, B above), in
// the player's colour, drawn over the whole window so that the glyphs keep
// their shape.
void drawHalfText(int player, double x, double y, float scale, const char* text);
// The player's name at the lower left of its half.
void drawHalfPlayerName(int player);
// A line of an end screen at x 0.2, in the player's colour.
void drawPlayerLine(int player, double y, const char* text);

// The end screens' headline: the winner, or a draw in a race of equal
// points and equal distance (winner RACE_DRAW).
std::string raceResultLine(int winner);
std::string castleResultLine(int winner);

// Top pixel row of the held power-up's icon in a player's half: the icon
// (0.075 of the window high, as drawPowerupIcon draws it) stands on the
// half's 0.1 line, beside the castle health, wholly inside its half.
int halfPowerupIconTop(int player);

// The debug lines at the left edge, craft B's value first ("Player 1").
void drawTwoPlayerDebugLines(const Craft& b, const Craft& a);

// Whole pixels of a window fraction.
int windowPixelX(double fraction);
int windowPixelY(double fraction);
