#include "modes/timeattack/list_screen.h"

#include <GL/gl.h>

#include "core/globals.h"
#include "render/camera.h"
#include "render/textures.h"

int pixelX(double fraction) { return int(screenWidth * fraction); }
int pixelY(double fraction) { return int(screenHeight * fraction); }

namespace {

void texturedQuad(double left, double bottom, double right, double top, float uLeft, float uRight,
                  float vBottom, float vTop) {
    glBegin(GL_QUADS);
    glTexCoord2f(uLeft, vBottom);
    glVertex2i(pixelX(left), pixelY(bottom));
    glTexCoord2f(uRight, vBottom);
    glVertex2i(pixelX(right), pixelY(bottom));
    glTexCoord2f(uRight, vTop);
    glVertex2i(pixelX(right), pixelY(top));
    glTexCoord2f(uLeft, vTop);
    glVertex2i(pixelX(left), pixelY(top));
    glEnd();
}

void beginFlat2D(GLuint texture) {
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glBindTexture(GL_TEXTURE_2D, texture);
    beginOverlay();
}

void endFlat2D() {
    endOverlay();
    glColor3f(1, 1, 1);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glDisable(GL_BLEND);
}

}  // namespace

void drawFlatPiece(GLuint texture, double left, double bottom, double right, double top, float uLeft,
                   float uRight, float vBottom, float vTop) {
    beginFlat2D(texture);
    texturedQuad(left, bottom, right, top, uLeft, uRight, vBottom, vTop);
    endFlat2D();
}

void drawTitleStrip(float left, float bottom, float right, float top, float vTop, float vBottom,
                    float red, float green, float blue) {
    glColor3f(red, green, blue);
    drawFlatPiece(titleTexture, left, bottom, right, top, 0.0f, 1.0f, vBottom, vTop);
}

void drawScrollArrows(bool hiddenAbove, bool hiddenBelow) {
    beginFlat2D(textureFrame(TEX_GUI, 0));
    const float lit[3] = {0.2f, 0.2f, 1.0f};
    const float dark[3] = {0.2f, 0.2f, 0.2f};
    glColor3fv(hiddenBelow ? lit : dark);
    texturedQuad(0.918f, 0.3f, 0.93f, 0.335f, 0.4f, 0.47f, 0.1f, 0.7f);
    glColor3fv(hiddenAbove ? lit : dark);
    texturedQuad(0.918f, 0.7f, 0.93f, 0.735f, 0.4f, 0.47f, 0.7f, 0.1f);
    endFlat2D();
}

void drawListBackdrop() {
    glColor3f(0.7f, 0.7f, 0.7f);
    drawBackdrop(TEX_SPACE1, false);
    glColor3f(1, 1, 1);
}
