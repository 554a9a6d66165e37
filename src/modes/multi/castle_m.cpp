#include "modes/multi/castle_m.h"

#include <GL/gl.h>

#include <cstdio>

#include "core/globals.h"
#include "core/settings.h"
#include "render/textures.h"
#include "modes/multi/multiplayer_settings_file.h"
#include "modes/multi/split_hud.h"
#include "modes/multi/split_keys.h"
#include "modes/multi/two_player.h"
#include "render/camera.h"
#include "render/screen_pieces.h"
#include "render/objects.h"
#include "render/text.h"
#include "render/track.h"
#include "sim/view_angle.h"

namespace {
constexpr int HEALTH_TEXT_HEIGHT = 6000;  // above the castle goal

CastleWall wallOf(const CastlePlayer& side) { return CastleWall{side.wall.x, side.wall.y, side.wall.z}; }
}  // namespace

int CastleM::chooseLevel(const std::string& path, const MultiplayerSettings& chosen) {
    levelPath = path;
    modeSettings = chosen;
    return run.loadLevel(path);
}

void CastleM::enter() {
    // A fresh duel starts on the arena as the file has it.
    if (!levelPath.empty()) run.loadLevel(levelPath);
    setProjectionSetter(loadSplitFacingProjection);
    run.start(modeSettings.castleLives, modeSettings.powerups, modeSettings.castleGravity);
}

int CastleM::handleEvent(SDL_Event event, SDL_Keysym key) {
    Craft& a = run.players[PLAYER_A].craft;
    Craft& b = run.players[PLAYER_B].craft;
    if (routeSplitScreenKey(event, key, a, b)) return 0;
    if (key.sym == settings.keys[KEY_RESET1]) run.respawn(PLAYER_A);
    if (key.sym == settings.keys[KEY_RESET2]) run.respawn(PLAYER_B);
    if (key.sym == settings.keys[KEY_USE1]) run.usePowerup(PLAYER_A);
    if (key.sym == settings.keys[KEY_USE2]) run.usePowerup(PLAYER_B);
    holdKeyForBoth(a, b, key.sym, true);
    return 0;
}

void CastleM::update(int elapsedMs) {
    run.update(elapsedMs);
    if (run.over()) switchToState(STATE_CASTLEMEND);
}

void CastleM::draw() {
    drawHalf(PLAYER_A);
    drawHalf(PLAYER_B);
    setWholeViewport();
    if (debugView) drawTwoPlayerDebugLines(run.players[PLAYER_B].craft, run.players[PLAYER_A].craft);
}

void CastleM::drawHalf(int player) {
    CastlePlayer& side = run.players[player];
    Craft& craft = side.craft;
    const int facing = player == PLAYER_A ? 1 : -1;
    setSplitViewport(player == PLAYER_A ? SPLIT_PLAYER_A : SPLIT_PLAYER_B);
    setViewAngle(craft, settings.speed ? speedViewAngle(craft) : BASE_VIEW_ANGLE, false, ViewVariant::SplitFacing);
    // Each half looks from its own eye: the camera starts afresh.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    applyCamera(craft);
    TrackBackdrop backdrop(player == PLAYER_A ? TEX_SPACE1 : TEX_SPACE2, true, run.hasLevel());
    if (run.hasLevel()) {
        SplitTrackOptions options;
        options.powerupItems = run.powerups;
        options.spinAngle = run.spinAngle;
        drawSplitTrack(run.level, craft, facing, options);
        backdrop.behindTrack();
        for (int each = 0; each < 2; ++each) {
            CastlePlayer& other = run.players[each];
            drawCraftRecord(other.craft, &playerPaint(each));
            drawCraftTrail(other.craft);
            drawJumpEffect(other.craft);
        }
        drawCastleWalls(wallOf(run.players[PLAYER_A]), wallOf(run.players[PLAYER_B]));
        drawSplitShadows(run.players[PLAYER_A].craft, run.players[PLAYER_B].craft);
        if (settings.glow) drawSplitHalos(run.level, craft.camZ, facing, HALO_SPLIT);
        drawShieldsAndWaves({&run.players[PLAYER_A].craft, run.players[PLAYER_A].shieldTime, run.players[PLAYER_A].pushTime},
                            {&run.players[PLAYER_B].craft, run.players[PLAYER_B].shieldTime, run.players[PLAYER_B].pushTime},
                            player);
        drawCastleHealth(player);
    }
    if (craft.powerup > 0 && !glowPass) {
        setWholeViewport();
        drawPowerupIcon(pixelX(0.9), halfPowerupIconTop(player), craft.powerup);
    }
    char text[32];
    drawHalfPlayerName(player);
    std::snprintf(text, sizeof text, "Your castle: %d", side.castleHealth);
    drawHalfText(player, 0.03, 0.05, 0.9f, text);
}

void CastleM::drawCastleHealth(int player) {
    // The opponent's castle, with its health standing above it.
    const int opponent = 1 - player;
    const int goal = opponent == PLAYER_A ? run.castleGoalA : run.castleGoalB;
    if (!run.level.validIndex(goal)) return;
    const BlockBody& body = run.level.blocks[size_t(goal)].body;
    const int health = run.players[opponent].castleHealth;
    char text[16];
    std::snprintf(text, sizeof text, "%d", health);
    const int shift = health >= 10 ? 1100 : 500;
    const int facing = player == PLAYER_A ? 1 : -1;
    const Craft& viewer = run.players[player].craft;
    // In the colour of the player whose castle it is.
    const CraftPaint& paint = playerPaint(opponent);
    drawWorldText(viewer.camZ, body.x - body.width / 2 + facing * shift, body.y + HEALTH_TEXT_HEIGHT, body.z, paint.red,
                  paint.green, paint.blue, 8.0f, text);
}
