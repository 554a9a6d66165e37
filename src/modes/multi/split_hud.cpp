#include "modes/multi/split_hud.h"

#include <cstdio>

#include "core/globals.h"
#include "modes/multi/race_run.h"
#include "modes/multi/two_player.h"
#include "render/camera.h"
#include "render/screen_pieces.h"
#include "render/text.h"

const CraftPaint& playerPaint(int player) {
    // Green and amber: apart from each other, from the track's blues and
    // from the red of hurt blocks.
    static const CraftPaint paints[2] = {{0.35f, 1.0f, 0.4f}, {1.0f, 0.65f, 0.15f}};
    return paints[player == PLAYER_B ? 1 : 0];
}

std::string playerName(int player) { return player == PLAYER_B ? "Player 1" : "Player 2"; }

void drawHalfText(int player, double x, double y, float scale, const char* text) {
    setWholeViewport();
    const int half = screenHeight / 2;
    const int bottom = player == PLAYER_A ? 0 : half;
    const CraftPaint& paint = playerPaint(player);
    drawText(pixelX(x), bottom + int(half * y), scale, paint.red, paint.green, paint.blue, text);
}

void drawHalfPlayerName(int player) { drawHalfText(player, 0.03, 0.1, 1.0f, playerName(player).c_str()); }

void drawPlayerLine(int player, double y, const char* text) {
    const CraftPaint& paint = playerPaint(player);
    drawText(pixelX(0.2), pixelY(y), 1, paint.red, paint.green, paint.blue, text);
}

std::string raceResultLine(int winner) {
    if (winner == RACE_DRAW) return "A draw: equal points, equal distance.";
    return "Congratulations " + playerName(winner) + " - you win.";
}

std::string castleResultLine(int winner) { return "Congratulations " + playerName(winner) + " - you win."; }

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
