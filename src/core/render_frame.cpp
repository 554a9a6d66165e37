#include "core/render_frame.h"

#include <SDL/SDL.h>
#include <GL/gl.h>

#include "core/gamestate.h"
#include "core/globals.h"
#include "core/settings.h"
#include "render/glow.h"

namespace {

constexpr int ULTRA_DETAILS = 3;

void clearForDrawing() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glLoadIdentity();
    glColor3f(1, 1, 1);
}

// Draw routines build their projections from screenWidth/screenHeight, so
// swapping in the glow target's size makes them draw at that size unaware.
void drawGlowPass() {
    bindGlowFramebuffer();
    clearForDrawing();
    const int savedWidth = screenWidth;
    const int savedHeight = screenHeight;
    screenWidth = settings.bloomW;
    screenHeight = settings.bloomH;
    glViewport(0, 0, settings.bloomW, settings.bloomH);
    glowPass = true;
    currentState->draw();
    screenWidth = savedWidth;
    screenHeight = savedHeight;
    runGlowBlur();
    bindWindowFramebuffer();
}

void drawNormalPass() {
    clearForDrawing();
    glViewport(0, 0, screenWidth, screenHeight);
    glowPass = false;
    glDisable(GL_BLEND);
    currentState->draw();
}

// Adding the blurred image Bloom times scales the glow's brightness; 0 adds
// nothing.
void compositeBloom() {
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, screenWidth, 0, screenHeight, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glBindTexture(GL_TEXTURE_2D, glowTexture());
    glBegin(GL_QUADS);
    for (int layer = 0; layer < settings.bloom; ++layer) {
        glTexCoord2f(0, 0); glVertex2i(0, 0);
        glTexCoord2f(1, 0); glVertex2i(screenWidth, 0);
        glTexCoord2f(1, 1); glVertex2i(screenWidth, screenHeight);
        glTexCoord2f(0, 1); glVertex2i(0, screenHeight);
    }
    glEnd();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glDisable(GL_BLEND);
    glEnable(GL_CULL_FACE);
}

}  // namespace

bool glowFrameEnabled() { return shadersActive && settings.details == ULTRA_DETAILS; }

void renderFrame() {
    glBlendFunc(GL_ONE, GL_ONE);
    const bool glow = glowFrameEnabled();
    if (glow) drawGlowPass();
    drawNormalPass();
    if (glow) compositeBloom();
    SDL_GL_SwapBuffers();
}
