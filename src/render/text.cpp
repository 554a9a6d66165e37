#include "render/text.h"

#include <GL/gl.h>

#include "core/globals.h"
#include "render/camera.h"
#include "render/textures.h"

namespace {

// Texture coordinates of a glyph cell; the 0.003 insets keep the rows above
// and below from bleeding in.
struct GlyphCell {
    float u, t;
};

GlyphCell glyphCell(char c) {
    // Taken as a signed byte: codes above 127 and control characters select
    // cells outside the printable rows (the texture repeats).
    const int k = int(static_cast<signed char>(c)) - 32;
    return {float(k % 16) / 16.0f, float(k / 16) / 8.0f};
}

void glyphTexCoord(const GlyphCell& cell, bool right, bool bottom) {
    glTexCoord2f(cell.u + (right ? 0.0625f : 0.0f), cell.t + (bottom ? 0.125f - 0.003f : 0.003f));
}

// Readable text even in wireframe mode.
void beginFilledText() {
    if (!wireframe) return;
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_TEXTURE_2D);
}

void endFilledText() {
    if (!wireframe) return;
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glDisable(GL_TEXTURE_2D);
}

void bindFirstTexture(int slot) {
    glBindTexture(GL_TEXTURE_2D, textureTable[slot].empty() ? 0 : textureTable[slot][0]);
}

struct PanelPiece {
    int x0, x1, y0, y1;
    float uLeft, uRight, vBottom, vTop;
};

void emitPiece(const PanelPiece& p) {
    glTexCoord2f(p.uLeft, p.vBottom); glVertex2i(p.x0, p.y0);
    glTexCoord2f(p.uRight, p.vBottom); glVertex2i(p.x1, p.y0);
    glTexCoord2f(p.uRight, p.vTop); glVertex2i(p.x1, p.y1);
    glTexCoord2f(p.uLeft, p.vTop); glVertex2i(p.x0, p.y1);
}

}  // namespace

void drawText(int x, int y, float scale, float red, float green, float blue, const char* text) {
    if (glowPass) return;  // text never glows
    beginFilledText();
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glColor3f(red, green, blue);
    glBindTexture(GL_TEXTURE_2D, fontTexture);
    beginOverlay();
    glTranslatef(float(x), float(y), 0);
    glScalef(scale, scale, scale);
    const int glyphWidth = int(0.0195 * screenWidth);
    const int glyphHeight = int(0.026 * screenHeight);
    // The advance is a translation, so its fraction never accumulates into
    // rounding errors along a line.
    const double advance = 0.0146 * screenWidth;
    for (const char* c = text; *c; ++c) {
        const GlyphCell cell = glyphCell(*c);
        glBegin(GL_QUADS);
        glyphTexCoord(cell, false, false); glVertex2i(0, 0);
        glyphTexCoord(cell, false, true); glVertex2i(0, -glyphHeight);
        glyphTexCoord(cell, true, true); glVertex2i(glyphWidth, -glyphHeight);
        glyphTexCoord(cell, true, false); glVertex2i(glyphWidth, 0);
        glEnd();
        glTranslated(advance, 0, 0);
    }
    endOverlay();
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glEnable(GL_LIGHTING);
    endFilledText();
}

void drawWorldText(int viewerZ, int x, int y, int z, float red, float green, float blue, float scale,
                   const char* text) {
    if (glowPass) return;
    beginFilledText();
    glColor3f(red, green, blue);
    glEnable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glPushMatrix();
    glTranslatef(float(x), float(y), float(z));
    // Turned to read correctly for a viewer looking toward -z.
    if (z < viewerZ) glRotatef(180, 0, 1, 0);
    glBindTexture(GL_TEXTURE_2D, fontTexture);
    glScalef(scale, scale, scale);
    const int glyphWidth = int(0.156 * screenWidth);
    const int glyphHeight = int(0.208 * screenHeight);
    const double advance = 0.137 * screenWidth;
    for (const char* c = text; *c; ++c) {
        const GlyphCell cell = glyphCell(*c);
        glBegin(GL_QUADS);
        glyphTexCoord(cell, false, false); glVertex3i(0, 0, 0);
        glyphTexCoord(cell, false, true); glVertex3i(0, -glyphHeight, 0);
        glyphTexCoord(cell, true, true); glVertex3i(-glyphWidth, -glyphHeight, 0);
        glyphTexCoord(cell, true, false); glVertex3i(-glyphWidth, 0, 0);
        glEnd();
        // Toward -x: the viewer's right, since +x is the craft's left.
        glTranslated(-advance, 0, 0);
    }
    glPopMatrix();
    glEnable(GL_LIGHTING);
    glDisable(GL_BLEND);
    endFilledText();
}

void drawPanel(int left, int top, int width, int height, float red, float green, float blue) {
    const int L = left, T = top, R = left + width, B = top - height;
    // Corners and top/bottom borders 16 px, side borders 7 px; the other
    // three corners mirror the top-left piece through coordinates beyond 0..1.
    const PanelPiece pieces[8] = {
        {L, L + 16, T - 16, T, 0.0f, 0.25f, 1.0f, 0.0f},           // top-left corner
        {L + 16, R - 16, T - 16, T, 0.51f, 0.74f, 1.0f, 0.0f},     // top border
        {R - 16, R, T - 16, T, -0.75f, -1.0f, 1.0f, 0.0f},         // top-right corner
        {R - 7, R, B + 16, T - 16, 0.34f, 0.25f, 1.0f, 0.0f},      // right border
        {L, L + 7, B + 16, T - 16, 0.25f, 0.34f, 1.0f, 0.0f},      // left border
        {R - 16, R, B, B + 16, -0.75f, -1.0f, -1.0f, 0.0f},        // bottom-right corner
        {L + 16, R - 16, B, B + 16, 0.51f, 0.74f, -1.0f, 0.0f},    // bottom border
        {L, L + 16, B, B + 16, 0.0f, 0.25f, -1.0f, 0.0f},          // bottom-left corner
    };
    glColor3f(red, green, blue);
    glEnable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    bindFirstTexture(TEX_GUI);
    beginOverlay();
    glBegin(GL_QUADS);
    for (const PanelPiece& piece : pieces) emitPiece(piece);
    glEnd();
    glColor3f(1, 1, 1);
    endOverlay();
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glEnable(GL_LIGHTING);
}

void drawPowerupIcon(int x, int y, int icon) {
    const float uLeft = float(icon % 4) * 0.25f, uRight = uLeft + 0.25f;
    const float tTop = float(icon / 4) * 0.5f, tBottom = tTop + 0.5f;
    const int right = x + int(0.04 * screenWidth);
    const int bottom = y - int(0.075 * screenHeight);
    glEnable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    bindFirstTexture(TEX_POWERUPS);
    beginOverlay();
    glBegin(GL_QUADS);
    glTexCoord2f(uRight, tBottom); glVertex2i(right, bottom);
    glTexCoord2f(uRight, tTop); glVertex2i(right, y);
    glTexCoord2f(uLeft, tTop); glVertex2i(x, y);
    glTexCoord2f(uLeft, tBottom); glVertex2i(x, bottom);
    glEnd();
    glColor3f(1, 1, 1);
    endOverlay();
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glDisable(GL_BLEND);
}
