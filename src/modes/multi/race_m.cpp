#include "modes/multi/race_m.h"

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
#include "render/objects.h"
#include "render/text.h"
#include "render/track.h"
#include "sim/view_angle.h"

int RaceM::chooseLevel(const std::string& path, const MultiplayerSettings& chosen) {
    levelPath = path;
    modeSettings = chosen;
    return run.loadLevel(path);
}

void RaceM::enter() {
    // A new race always starts on the level as its file has it.
    if (!levelPath.empty()) run.loadLevel(levelPath);
    setProjectionSetter(loadSplitProjection);
    run.start(modeSettings.raceLives, modeSettings.raceGravity);
}

int RaceM::handleEvent(SDL_Event event, SDL_Keysym key) {
    Craft& a = run.players[PLAYER_A].craft;
    Craft& b = run.players[PLAYER_B].craft;
    if (routeSplitScreenKey(event, key, a, b)) return 0;
    if (key.sym == settings.keys[KEY_RESET1]) run.respawn(PLAYER_A);
    if (key.sym == settings.keys[KEY_RESET2]) run.respawn(PLAYER_B);
    holdKeyForBoth(a, b, key.sym, true);
    return 0;
}

void RaceM::update(int elapsedMs) {
    run.update(elapsedMs);
    if (run.over()) switchToState(STATE_RACEEND);
}

void RaceM::draw() {
    drawHalf(PLAYER_A);
    drawHalf(PLAYER_B);
    setWholeViewport();
    if (debugView) drawDebugLines();
}

void RaceM::drawHalf(int player) {
    RacePlayer& side = run.players[player];
    Craft& craft = side.craft;
    setSplitViewport(player == PLAYER_A ? SPLIT_PLAYER_A : SPLIT_PLAYER_B);
    setViewAngle(craft, settings.speed ? speedViewAngle(craft) : BASE_VIEW_ANGLE, false, ViewVariant::Split);
    // Each half looks from its own eye: the camera starts afresh.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    applyCamera(craft);
    TrackBackdrop backdrop(TEX_SPACE4, true, run.hasLevel());
    if (run.hasLevel()) {
        SplitTrackOptions options;
        // What nobody has reached yet stays dark.
        options.leadingMark = run.farthestPoint();
        drawSplitTrack(run.level, craft, 1, options);
        backdrop.behindTrack();
        for (int each = 0; each < 2; ++each) {
            RacePlayer& other = run.players[each];
            drawCraftRecord(other.craft, &playerPaint(each));
            drawCraftTrail(other.craft);
            drawJumpEffect(other.craft);
        }
        drawSplitShadows(run.players[PLAYER_A].craft, run.players[PLAYER_B].craft);
        if (settings.glow) drawSplitHalos(run.level, craft.camZ, 1, HALO_SPLIT);
    }
    char text[48];
    drawHalfPlayerName(player);
    std::snprintf(text, sizeof text, "Lives: %d", side.craft.lives);
    drawHalfText(player, 0.75, 0.15, 0.9f, text);
    std::snprintf(text, sizeof text, "Points: %d", side.points);
    drawHalfText(player, 0.75, 0.1, 0.9f, text);
    std::snprintf(text, sizeof text, "Distance: %d", run.shownDistanceMeters(player));
    drawHalfText(player, 0.75, 0.05, 0.9f, text);
}

void RaceM::drawDebugLines() {
    const Craft& a = run.players[PLAYER_A].craft;
    const Craft& b = run.players[PLAYER_B].craft;
    drawTwoPlayerDebugLines(b, a);
}
