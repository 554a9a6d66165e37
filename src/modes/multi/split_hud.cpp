#include "modes/multi/split_hud.h"

#include <cstdio>

#include "core/globals.h"
#include "modes/multi/two_player.h"
#include "render/camera.h"
#include "render/screen_pieces.h"
#include "render/text.h"

void drawHalfText(int player, double x, double y, float scale, const char* text) {
    setWholeViewport();
    const int half = screenHeight / 2;
    const int bottom = player == PLAYER_A ? 0 : half;
    drawText(pixelX(x), bottom + int(half * y), scale, 1, 1, 1, text);
}

int halfPowerupIconTop(int player) {
    const int half = screenHeight / 2;
    const int bottom = (player == PLAYER_A ? 0 : half) + int(half * 0.1);
    return bottom + int(0.075 * screenHeight);
}

void drawTwoPlayerDebugLines(const Craft& b, const Craft& a) {
    const struct {
        const char* format;
        int first, second;
        double height;
    } lines[] = {
        {"f_speed 1|2:   %d | %d", b.f_speed, a.f_speed, 0.977}, {"s_speed 1|2:   %d | %d", b.s_speed, a.s_speed, 0.957},
        {"v_speed 1|2:   %d | %d", b.v_speed, a.v_speed, 0.937}, {"ypos 1|2:      %d | %d", b.ypos, a.ypos, 0.918},
        {"health 1|2:    %d | %d", b.health, a.health, 0.898},
    };
    char text[96];
    for (const auto& line : lines) {
        std::snprintf(text, sizeof text, line.format, line.first, line.second);
        drawText(0, pixelY(line.height), 0.6f, 1, 1, 0, text);
    }
    std::snprintf(text, sizeof text, "fps:           %d", framesPerSecond);
    drawText(0, pixelY(0.879), 0.6f, 1, 1, 0, text);
}
