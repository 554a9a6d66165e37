#pragma once

// A contact sheet: many levels' plan views on one picture, in groups under a
// heading, each plan with its level's name under it. The README's level
// overview is drawn with it.

#include <functional>
#include <string>
#include <vector>

#include "canvas.h"

// Draws one level's plan into image (castle: the whole mirrored arena);
// false when the level cannot be read.
using PlanDrawer = std::function<bool(const std::string& levelPath, bool castle, Canvas& image)>;

// arguments: level files, with "--group TITLE" starting a new group under a
// heading. Levels whose file name starts with "ca-" are castle maps. Prints
// the sheet's size and one line per cell ("cell NAME X Y SIZE", the plan's
// square) on standard output. Returns 0, or 1 when a level cannot be read
// or the picture cannot be written, 2 for bad arguments.
int writeContactSheet(const std::string& out, const std::vector<std::string>& arguments, const PlanDrawer& drawPlan);
