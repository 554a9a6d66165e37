#include "modes/multi/castle_m_end.h"

#include <GL/gl.h>

#include <cstdio>

#include "render/textures.h"
#include "modes/multi/castle_m.h"
#include "modes/multi/split_hud.h"
#include "modes/multi/two_player.h"
#include "render/camera.h"
#include "render/screen_pieces.h"
#include "render/text.h"

void CastleMEnd::enter() {}

int CastleMEnd::handleEvent(SDL_Event event, SDL_Keysym key) {
    if (event.type != SDL_KEYDOWN) return 0;
    if (key.sym == SDLK_RETURN || key.sym == SDLK_KP_ENTER) switchToState(STATE_CASTLEM);
    else if (key.sym == SDLK_ESCAPE) switchToState(STATE_MODESELM);
    return 0;
}

void CastleMEnd::update(int) {}

void CastleMEnd::draw() {
    const CastleRun& run = stateObject<CastleM>(STATE_CASTLEM).run;
    glDisable(GL_LIGHTING);
    drawDimmedBackdrop(TEX_SPACE4, 0.7f);
    char text[96];
    const int winner = run.winner() == PLAYER_B ? PLAYER_B : PLAYER_A;
    const CraftPaint& headline = playerPaint(winner);
    drawText(pixelX(0.17), pixelY(0.872), 1.3f, headline.red, headline.green, headline.blue,
             castleResultLine(winner).c_str());
    const struct {
        int player;
        double top;
    } blocks[] = {{PLAYER_B, 0.65}, {PLAYER_A, 0.4}};
    for (const auto& block : blocks) {
        const CastlePlayer& side = run.players[block.player];
        std::snprintf(text, sizeof text, "%s died %d times", playerName(block.player).c_str(), side.deaths);
        drawPlayerLine(block.player, block.top, text);
        std::snprintf(text, sizeof text, "and used %d powerups.", side.powerupsUsed);
        drawPlayerLine(block.player, block.top - 0.05, text);
    }
    drawPanel(pixelX(0.029), pixelY(0.82), pixelX(0.941), pixelY(0.651), 1, 1, 0);
    glEnable(GL_LIGHTING);
}
