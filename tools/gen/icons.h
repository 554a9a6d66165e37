#pragma once

// Small symbolic pictures shared by several images.

#include <vector>

#include "canvas.h"
#include "data_tree.h"

struct Palette;

// Corners of a star with `points` tips, first tip straight up.
std::vector<Vec2> starPoints(Vec2 centre, float outer, float inner, int points);

// Draws power-up icon n (0 none .. 6 hurt, 7 spare) filling the canvas, as
// light on black.
void drawPowerupIcon(Canvas& icon, int n);

// gfx/menu01..menu06.png: the main menu entry labels.
void writeMenuLabels(DataWriter& out);
// gfx/lev01..lev06.png: the editor's buttons.
void writeEditorIcons(DataWriter& out);
// The set's "single" image: the editor's item tools in its four quarters.
Canvas drawItemTools(const Palette& palette);
