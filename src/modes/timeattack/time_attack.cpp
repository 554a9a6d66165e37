#include "modes/timeattack/time_attack.h"

#include <GL/gl.h>

#include <cstdio>

#include "core/globals.h"
#include "core/settings.h"
#include "modes/timeattack/ghost.h"
#include "render/screen_pieces.h"
#include "modes/timeattack/record_texts.h"
#include "modes/timeattack/records.h"
#include "modes/timeattack/run_scene.h"
#include "render/camera.h"
#include "render/objects.h"
#include "render/play_hud.h"
#include "render/text.h"
#include "render/track.h"
#include "sim/run_timer.h"
#include "sim/view_angle.h"

int backgroundIndexFor(int mapIndex, const std::string& fileName) {
    int fifth = fileName.size() > 4 ? static_cast<signed char>(fileName[4]) : 0;
    int index = (mapIndex + fifth) % 4;
    return index < 0 ? index + 4 : index;
}

void TimeAttack::enter() {
    const bool knownMap = mapIndex >= 0 && mapIndex < int(recordTable.size());
    backgroundIndex = knownMap ? backgroundIndexFor(mapIndex, recordTable[size_t(mapIndex)].fileName) : 0;
    run.recordTimeMs = knownMap ? recordTable[size_t(mapIndex)].recordTime : NO_RECORD_TIME;
    setProjectionSetter(loadTimeAttackProjection);
    run.craft.viewAngle = BASE_VIEW_ANGLE;
    run.reset();
    debugMessage.clear();
}

int TimeAttack::handleEvent(SDL_Event event, SDL_Keysym key) {
    if (event.type == SDL_KEYUP) {
        setKeyHeld(run.craft, key.sym, false);
        return 0;
    }
    if (event.type != SDL_KEYDOWN) return 0;
    setKeyHeld(run.craft, key.sym, true);
    if (key.sym == SDLK_ESCAPE) {
        run.releaseLevel();
        switchToState(exitState);
    } else if (key.sym == settings.keys[KEY_RESET2]) {
        run.reset();
    } else if (key.sym == settings.keys[KEY_JUMP2]) {
        run.pressJump();
    } else if (key.sym == SDLK_BACKQUOTE || key.sym == SDLK_TAB) {
        openConsole();
    } else {
        run.startTimer();
    }
    return 0;
}

void TimeAttack::update(int elapsedMs) {
    if (!run.hasLevel()) return;
    addFrameTime(accumulator, elapsedMs);
    runDueSteps(accumulator, [this] { return run.step(); }, [this] { return run.goalReached; });
    if (run.goalReached) switchToState(STATE_LEVELEND);
}

void TimeAttack::draw() {
    Craft& craft = run.craft;
    drawRunScene(craft, run.level, backgroundIndex);
    if (run.hasLevel()) drawGhost();
    drawRunClock(craft);
    drawMedalTarget();
    if (debugView) drawDebugLines();
}

// The medal still in reach, beside the clock: the time to beat.
void TimeAttack::drawMedalTarget() {
    const Level& level = run.level;
    const MedalTarget target = medalTarget(runTimeOf(run.craft), level.goldTime, level.silverTime, level.bronzeTime);
    if (const MedalLook* look = medalLook(target.medal)) drawBesideClock(target.text, look->red, look->green, look->blue);
}

void TimeAttack::drawGhost() {
    if (!ghost.loaded || run.craft.phase == 0) return;
    const GhostSample& at = ghost.position;
    const GhostSample& before = ghost.previousPosition;
    glEnable(GL_BLEND);
    drawCraft(CRAFT_KIND_PLAYER, 0, before.x, before.y, before.z, at.x, at.y, at.z, 1.0f, 8, 0, 1);
    glDisable(GL_BLEND);
    glColor3f(1, 1, 1);
}


void TimeAttack::drawDebugLines() {
    static const DebugLineFormats formats = {
        {"f_speed:    %d", "s_speed:    %d", "v_speed:    %d", "ypos:       %d", "health:     %d",
         "fps:        %d"},
        "Msg:        %s"};
    drawCraftDebugLines(run.craft, formats, debugMessage);
}
