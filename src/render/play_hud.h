#pragma once

#include <string>

#include "sim/craft.h"

// HUD pieces the one-craft play states share.

// The run clock at the lower right: minutes, seconds and hundredths.
void drawRunClock(const Craft& craft);
// Words on the clock's line, ending just left of it.
void drawBesideClock(const std::string& text, float red, float green, float blue);

// The yellow debug lines at the upper left: f_speed, s_speed, v_speed,
// ypos, health and the frame rate, each through its mode's format (the
// modes space their labels differently), then the message line.
struct DebugLineFormats {
    const char* values[6];
    const char* message;
};
void drawCraftDebugLines(const Craft& craft, const DebugLineFormats& formats,
                         const std::string& message);
