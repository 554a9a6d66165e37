#include "modes/multi/race_end.h"

#include <GL/gl.h>

#include <cstdio>

#include "render/textures.h"
#include "modes/multi/race_m.h"
#include "modes/multi/split_hud.h"
#include "modes/multi/two_player.h"
#include "render/camera.h"
#include "render/screen_pieces.h"
#include "render/text.h"

void RaceEnd::enter() {}

int RaceEnd::handleEvent(SDL_Event event, SDL_Keysym key) {
    if (event.type != SDL_KEYDOWN) return 0;
    if (key.sym == SDLK_RETURN || key.sym == SDLK_KP_ENTER) switchToState(STATE_RACEM);
    else if (key.sym == SDLK_ESCAPE) switchToState(STATE_MODESELM);
    return 0;
}

void RaceEnd::update(int) {}

void RaceEnd::draw() {
    const RaceRun& run = stateObject<RaceM>(STATE_RACEM).run;
    glDisable(GL_LIGHTING);
    drawDimmedBackdrop(TEX_SPACE4, 0.7f);
    char text[96];
    // The headline in the winner's colour; a draw in white.
    const int winner = run.winner();
    const CraftPaint white = {1, 1, 1};
    const CraftPaint& headline = winner == RACE_DRAW ? white : playerPaint(winner);
    drawText(pixelX(0.17), pixelY(0.872), 1.3f, headline.red, headline.green, headline.blue,
             raceResultLine(winner).c_str());
    const struct {
        int player;
        double top;
        const char* distanceFormat;
    } blocks[] = {
        {PLAYER_B, 0.65, "and drove a total distance of %d meters. "},
        {PLAYER_A, 0.4, "and drove a total distance of %d meters."},
    };
    for (const auto& block : blocks) {
        const RacePlayer& side = run.players[block.player];
        std::snprintf(text, sizeof text, "%s earned %d points", playerName(block.player).c_str(), side.points);
        drawPlayerLine(block.player, block.top, text);
        std::snprintf(text, sizeof text, block.distanceFormat, side.distance / UNITS_PER_METER);
        drawPlayerLine(block.player, block.top - 0.05, text);
        std::snprintf(text, sizeof text, "Longest run was %d meters.", side.longestRun / UNITS_PER_METER);
        drawPlayerLine(block.player, block.top - 0.1, text);
    }
    drawPanel(pixelX(0.029), pixelY(0.82), pixelX(0.941), pixelY(0.651), 1, 0, 0);
    glEnable(GL_LIGHTING);
}
