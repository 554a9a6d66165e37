#include "app/render_frame.h"

#include <GL/gl.h>

#include "app/state_table.h"
#include "app/window.h"
#include "core/gamestate.h"
#include "core/globals.h"
#include "core/settings.h"
#include "render/camera.h"
#include "render/glow.h"
#include "render/textures.h"

namespace {

constexpr int ULTRA_DETAILS = 3;

void clearForDrawing() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glLoadIdentity();
    glColor3f(1, 1, 1);
}

// Draw routines build their projections from screenWidth/screenHeight, so
// swapping in the glow target's size makes them draw at that size unaware.
// Only the proportions of a split-screen view must stay the window's: the
// glow image is stretched back over the window.
void drawGlowPass() {
    bindGlowFramebuffer();
    clearForDrawing();
    const int savedWidth = screenWidth;
    const int savedHeight = screenHeight;
    rememberWindowSize(savedWidth, savedHeight);
    screenWidth = settings.bloomW;
    screenHeight = settings.bloomH;
    glViewport(0, 0, settings.bloomW, settings.bloomH);
    glowPass = true;
    currentState->draw();
    screenWidth = savedWidth;
    screenHeight = savedHeight;
    forgetWindowSize();
    runGlowBlur();
    bindWindowFramebuffer();
}

void drawNormalPass(const DrawArea& area) {
    clearForDrawing();
    glViewport(area.x, area.y, area.width, area.height);
    glowPass = false;
    glDisable(GL_BLEND);
    currentState->draw();
}

// Adding the blurred image Bloom times scales the glow's brightness; 0 adds
// nothing. In plain white and unlit: the texture is modulated by the colour
// in force, and whatever the normal pass drew last (yellow debug text, a
// damage tint) must not colour the glow.
void compositeBloom(const DrawArea& area) {
    const bool lit = glIsEnabled(GL_LIGHTING);
    glDisable(GL_LIGHTING);
    glColor3f(1, 1, 1);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glViewport(area.x, area.y, area.width, area.height);
    drawGlowLayers(area.width, area.height, settings.bloom);
    glDisable(GL_BLEND);
    glEnable(GL_CULL_FACE);
    if (lit) glEnable(GL_LIGHTING);
}

}  // namespace

bool glowFrameEnabled() { return shadersActive && settings.details == ULTRA_DETAILS; }

DrawArea drawAreaFor(int windowWidth, int windowHeight, bool keepsProportions) {
    if (!keepsProportions) return {0, 0, windowWidth, windowHeight};
    // As wide as the window allows, else as high.
    const long long wide = 1LL * PAGE_WIDTH_RATIO * windowHeight, high = 1LL * PAGE_HEIGHT_RATIO * windowWidth;
    const int width = wide <= high ? int(wide / PAGE_HEIGHT_RATIO) : windowWidth;
    const int height = wide <= high ? windowHeight : int(high / PAGE_WIDTH_RATIO);
    return {(windowWidth - width) / 2, (windowHeight - height) / 2, width, height};
}

// The states lay out in screenWidth x screenHeight: for the frame they are
// the size of the state's area; the glow image fills the same area.
void renderFrame() {
    const int windowWidth = screenWidth, windowHeight = screenHeight;
    const DrawArea area = drawAreaFor(windowWidth, windowHeight, keepsScreenProportions(currentState));
    screenWidth = area.width;
    screenHeight = area.height;
    glBlendFunc(GL_ONE, GL_ONE);
    const bool glow = glowFrameEnabled();
    if (glow) drawGlowPass();
    drawNormalPass(area);
    if (glow) compositeBloom(area);
    screenWidth = windowWidth;
    screenHeight = windowHeight;
    glViewport(0, 0, windowWidth, windowHeight);
    swapGameWindow();
    dropIdlePictures();
}
