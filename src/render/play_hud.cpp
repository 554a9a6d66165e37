#include "render/play_hud.h"

#include <cstdio>

#include "core/globals.h"
#include "render/screen_pieces.h"
#include "render/text.h"

void drawRunClock(const Craft& craft) {
    char text[32];
    const int y = pixelY(0.06);
    std::snprintf(text, sizeof text, "%2d:", craft.minutes);
    drawText(pixelX(0.78), y, 1.0f, 0.9f, 0.9f, 0.9f, text);
    std::snprintf(text, sizeof text, "%2d:", craft.seconds);
    drawText(pixelX(0.84), y, 1.0f, 0.9f, 0.9f, 0.9f, text);
    std::snprintf(text, sizeof text, "%2d", craft.msPart / 10);
    drawText(pixelX(0.90), y, 1.0f, 0.9f, 0.9f, 0.9f, text);
}

void drawBesideClock(const std::string& text, float red, float green, float blue) {
    const double width = 0.0146 * double(text.size());
    drawText(pixelX(0.78 - 0.02 - width), pixelY(0.06), 1.0f, red, green, blue, text.c_str());
}

void drawCraftDebugLines(const Craft& craft, const DebugLineFormats& formats,
                         const std::string& message) {
    const int values[6] = {craft.f_speed, craft.s_speed, craft.v_speed,
                           craft.ypos,    craft.health,  framesPerSecond};
    const double heights[6] = {0.977, 0.957, 0.937, 0.918, 0.898, 0.879};
    char text[160];
    for (int i = 0; i < 6; ++i) {
        std::snprintf(text, sizeof text, formats.values[i], values[i]);
        drawText(0, pixelY(heights[i]), 0.6f, 1, 1, 0, text);
    }
    std::snprintf(text, sizeof text, formats.message, message.c_str());
    drawText(0, pixelY(0.85), 0.6f, 1, 1, 0, text);
}
