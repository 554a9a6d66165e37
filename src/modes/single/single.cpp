#include "modes/single/single.h"

#include <GL/gl.h>

#include <cstdio>

#include "core/globals.h"
#include "core/settings.h"
#include "modes/single/single_pl_sel.h"
#include "render/camera.h"
#include "render/computer_objects_view.h"
#include "render/screen_pieces.h"
#include "render/textures.h"
#include "render/objects.h"
#include "render/play_hud.h"
#include "render/text.h"
#include "render/track.h"
#include "sim/view_angle.h"

namespace {

void vertexAt(double x, double y) { glVertex2i(pixelX(x), pixelY(y)); }

// A diamond centred at (x, y) with half-extents (dx, dy), window fractions.
void diamond(double x, double y, double dx, double dy) {
    glBegin(GL_QUADS);
    vertexAt(x - dx, y);
    vertexAt(x, y - dy);
    vertexAt(x + dx, y);
    vertexAt(x, y + dy);
    glEnd();
}

// The pong games' banners are text: they name the court and what wins it.
const char* pongBannerText(int banner) {
    switch (banner) {
        case BANNER_PONG_EASY: return "PONG - easy: get the ball past the far paddle";
        case BANNER_PONG_MEDIUM: return "PONG - medium: get the ball past the far paddle";
        case BANNER_PONG_HARD: return "PONG - hard: get the ball past the far paddle";
        case BANNER_PONG_WON: return "Won! Drive on";
        case BANNER_PONG_LOST: return "Missed - that cost a life";
        default: return nullptr;
    }
}

// Centred on the banner's line, or the line below it.
void drawBannerLine(const char* text, int line) {
    const int length = int(std::char_traits<char>::length(text));
    drawText(pixelX(0.5 - 0.0073 * length), pixelY(0.74 - 0.04 * line), 1.0f, 1, 0, 0.5f, text);
}

const char* courtNoticeText(int difficulty) {
    switch (difficulty) {
        case 0: return "PONG court ahead - easy";
        case 1: return "PONG court ahead - medium";
        default: return "PONG court ahead - hard";
    }
}

}  // namespace

void Single::enter() {
    showingFinish = false;
    setProjectionSetter(loadSingleProjection);
    run.start();
}

int Single::handleEvent(SDL_Event event, SDL_Keysym key) {
    if (event.type == SDL_KEYUP) {
        setKeyHeld(run.craft, key.sym, false);
        return 0;
    }
    if (event.type != SDL_KEYDOWN) return 0;
    if (showingFinish) {
        if (finishShownMs >= FINISH_KEY_DELAY_MS) leaveFinish();
        return 0;
    }
    if (key.sym == SDLK_ESCAPE) {
        // Nothing is saved; the level stays loaded until the next load.
        run.checkpointZ.clear();
        run.start();
        switchToState(STATE_SINGLEPLSEL);
        return 0;
    }
    if (key.sym == settings.keys[KEY_RESET2]) {
        run.deathRoutine();
    } else if (key.sym == settings.keys[KEY_JUMP2]) {
        run.pressJump();
    } else if (key.sym == SDLK_BACKQUOTE || key.sym == SDLK_TAB) {
        openConsole();
    } else {
        run.startTimer();
    }
    setKeyHeld(run.craft, key.sym, true);
    return 0;
}

void Single::update(int elapsedMs) {
    if (showingFinish) {
        finishShownMs += elapsedMs;
        return;
    }
    if (!run.hasLevel()) return;
    addFrameTime(accumulator, elapsedMs);
    runDueSteps(accumulator, [this] { return run.step(); }, [this] { return run.goalReached; });
    if (run.goalReached) finish();
}

void Single::finish() {
    SinglePlSel& list = stateObject<SinglePlSel>(STATE_SINGLEPLSEL);
    finished = finishAndCompare(list.campaign, levelIndex, run.craft.lives, run.craft.timeMs);
    run.goalReached = false;
    list.saveProgress();
    showingFinish = true;
    finishShownMs = 0;
}

void Single::leaveFinish() {
    showingFinish = false;
    run.checkpointZ.clear();
    stateObject<SinglePlSel>(STATE_SINGLEPLSEL).selectLevel(finished.nextLevel);
    switchToState(STATE_SINGLEPLSEL);
}

void Single::draw() {
    Craft& craft = run.craft;
    applyCamera(craft);
    TrackBackdrop backdrop(BACKDROP_SLOTS[run.backgroundIndex], false, run.hasLevel());
    if (run.hasLevel()) {
        drawTrack(run.level, craft.z);
        backdrop.behindTrack();
        drawCraftRecord(craft);
        if (settings.shadows && !glowPass) {
            const Craft* casters[] = {&craft};
            drawShadows(run.level, casters, 1, craft.z);
        }
        if (settings.glow) drawHalos(run.level, craft.z, HALO_SINGLE);
        drawCraftTrail(craft);
        PongBallView ball;
        const ComputerObjectsView computerView = computerObjectsView(run.level, run.computer, ball);
        drawComputerObjects(run.level, computerView);
        drawJumpEffect(craft);
        drawBlockItems(run.level, craft, run.computer.pusherActive, run.computer.bonusActive);
    }
    drawRunClock(craft);
    glDisable(GL_LIGHTING);
    drawStatusPanel();
    glEnable(GL_LIGHTING);
    if (showingFinish) drawFinish();
    else drawBanner();
}

void Single::drawFinish() {
    const std::vector<std::string> lines = levelFinishLines(finished);
    if (!glowPass) drawVeil(0.15, 0.75, 0.7, 0.4);
    glDisable(GL_LIGHTING);
    drawText(pixelX(0.5 - 0.0073 * 1.3 * double(lines[0].size())), pixelY(0.71), 1.3f, 1, 1, 0, lines[0].c_str());
    for (size_t i = 1; i < lines.size(); ++i) {
        const bool hint = i + 1 == lines.size();
        drawText(pixelX(0.19), pixelY(0.62 - 0.05 * double(i - 1) - (hint ? 0.03 : 0.0)), hint ? 0.8f : 1.0f, 1, 1,
                 1, lines[i].c_str());
    }
    drawPanel(pixelX(0.15), pixelY(0.75), pixelX(0.7), pixelY(0.4), 1, 1, 0);
    glEnable(GL_LIGHTING);
}


void Single::drawStatusPanel() {
    beginOverlay();
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    const double f = run.progressFraction();
    glColor3f(0, 0.6f, 0);
    glBegin(GL_QUADS);
    vertexAt(0.2, 0.95);
    vertexAt(0.2 + 0.6 * f, 0.95);
    vertexAt(0.2 + 0.6 * f, 0.96);
    vertexAt(0.2, 0.96);
    glEnd();
    glColor3f(1, 1, 1);
    glBegin(GL_LINE_STRIP);
    vertexAt(0.2, 0.95);
    vertexAt(0.8, 0.95);
    vertexAt(0.8, 0.96);
    vertexAt(0.2, 0.96);
    vertexAt(0.2, 0.95);
    glEnd();
    glBegin(GL_LINES);
    for (size_t i = 0; i < run.checkpointZ.size(); ++i) {
        const double x = 0.2 + 0.6 * run.checkpointFraction(i);
        vertexAt(x, 0.95);
        vertexAt(x, 0.96);
    }
    glEnd();
    // The diamonds are drawn opaque into the glow image.
    if (glowPass) glDisable(GL_BLEND);
    glColor3f(0.8f, 0, 0.1f);
    for (int i = 0; i <= run.craft.lives - 2; ++i) diamond(0.82 + 0.03 * i, 0.955, 0.01, 0.005);
    for (int i = 0; i <= run.craft.lives - 2; ++i) diamond(0.82 + 0.03 * i, 0.955, 0.015, 0.01);
    glColor3f(1, 1, 1);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    endOverlay();
    if (debugView) drawDebugLines();
}

void Single::drawDebugLines() {
    static const DebugLineFormats formats = {
        {"f_speed: \t%d", "s_speed: \t%d", "v_speed: \t%d", "ypos: \t%d", "health: \t%d",
         "fps: \t\t%d"},
        "Msg: \t\t%s"};
    drawCraftDebugLines(run.craft, formats, run.computer.debugText());
}

void Single::drawBanner() {
    const int court = run.courtAhead();
    if (court >= 0) {
        // Read before the serve: what the court is and what it asks for.
        drawBannerLine(courtNoticeText(court), 0);
        drawBannerLine("Steer to send the ball past the far paddle;", 1);
        drawBannerLine("a ball that gets past you costs a life.", 2);
        return;
    }
    if (run.bannerTimer <= 0) return;
    if (const char* text = pongBannerText(run.bannerIndex)) {
        drawBannerLine(text, 0);
        return;
    }
    if (run.bannerIndex != BANNER_CHECKPOINT) return;
    beginOverlay();
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glColor3f(1, 0, 0.5f);
    glBindTexture(GL_TEXTURE_2D, titleTexture);
    glBegin(GL_QUADS);
    glTexCoord2f(0.5f, 1.0f);
    vertexAt(0.362, 0.705);
    glTexCoord2f(0.9f, 1.0f);
    vertexAt(0.662, 0.705);
    glTexCoord2f(0.9f, 0.93f);
    vertexAt(0.662, 0.762);
    glTexCoord2f(0.5f, 0.93f);
    vertexAt(0.362, 0.762);
    glEnd();
    glColor3f(1, 1, 1);
    glEnable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    endOverlay();
}
