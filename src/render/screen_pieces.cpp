#include "render/screen_pieces.h"

#include <GL/gl.h>

#include "core/globals.h"
#include "render/camera.h"
#include "render/text.h"
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

void drawScrollArrows(bool hiddenAbove, bool hiddenBelow, const ScrollArrows& arrows) {
    beginFlat2D(textureFrame(TEX_GUI, 0));
    const ScreenColour& below = hiddenBelow ? arrows.lit : arrows.dark;
    glColor3f(below.red, below.green, below.blue);
    texturedQuad(arrows.left, arrows.belowBottom, arrows.right, arrows.belowTop, 0.4f, 0.47f, 0.1f, 0.7f);
    const ScreenColour& above = hiddenAbove ? arrows.lit : arrows.dark;
    glColor3f(above.red, above.green, above.blue);
    texturedQuad(arrows.left, arrows.aboveBottom, arrows.right, arrows.aboveTop, 0.4f, 0.47f, 0.7f, 0.1f);
    endFlat2D();
}

void drawSideArrow(double left, double bottom, double right, double top, bool pointsRight, ScreenColour colour) {
    // The arrow's tip lies at v 0.1 of the image: on the right or the left
    // edge now, its width (u) running up the quad.
    const float tipSide = 0.1f, tailSide = 0.7f;
    const float leftV = pointsRight ? tailSide : tipSide, rightV = pointsRight ? tipSide : tailSide;
    beginFlat2D(textureFrame(TEX_GUI, 0));
    glColor3f(colour.red, colour.green, colour.blue);
    glBegin(GL_QUADS);
    glTexCoord2f(0.4f, leftV);
    glVertex2i(pixelX(left), pixelY(bottom));
    glTexCoord2f(0.4f, rightV);
    glVertex2i(pixelX(right), pixelY(bottom));
    glTexCoord2f(0.47f, rightV);
    glVertex2i(pixelX(right), pixelY(top));
    glTexCoord2f(0.47f, leftV);
    glVertex2i(pixelX(left), pixelY(top));
    glEnd();
    endFlat2D();
}

void drawListPanel(const ListPanel& panel) {
    drawPanel(pixelX(panel.left), pixelY(panel.top), pixelX(panel.width), pixelY(panel.height),
              panel.frame.red, panel.frame.green, panel.frame.blue);
}

double listRowY(const ListPanel& panel, int visibleIndex) { return panel.firstRowY - panel.rowStep * visibleIndex; }

void drawDimmedBackdrop(int slot, float brightness) {
    glColor3f(brightness, brightness, brightness);
    drawBackdrop(slot, false);
    glColor3f(1, 1, 1);
}

void drawListBackdrop() { drawDimmedBackdrop(TEX_SPACE1, 0.7f); }

void drawVeil(double left, double top, double width, double height) {
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0, 0, 0, 0.75f);
    // Whatever winding the scene's faces were culled by: a play state's
    // view can leave a mirrored one behind.
    const GLboolean culling = glIsEnabled(GL_CULL_FACE);
    glDisable(GL_CULL_FACE);
    drawFlatPiece(0, left, top - height, left + width, top, 0, 0, 0, 0);
    if (culling) glEnable(GL_CULL_FACE);
    glBlendFunc(GL_ONE, GL_ONE);  // the frame's additive blending
    glEnable(GL_TEXTURE_2D);
    glColor3f(1, 1, 1);
}
