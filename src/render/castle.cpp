#include <GL/gl.h>

#include "core/globals.h"
#include "render/objects.h"
#include "render/textures.h"

namespace {

void emitWall(const CastleWall& wall) {
    if (!wall.placed()) return;
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0); glVertex3i(wall.x - 800, wall.y, wall.z);
    glTexCoord2f(1, 0); glVertex3i(wall.x + 800, wall.y, wall.z);
    glTexCoord2f(1, 1); glVertex3i(wall.x + 800, wall.y + 700, wall.z);
    glTexCoord2f(0, 1); glVertex3i(wall.x - 800, wall.y + 700, wall.z);
    glEnd();
}

// A square of half-size q around (x, y) at depth z, the image's top up.
void emitSquare(int x, int yBottom, int yTop, int halfWidth, int z) {
    glBegin(GL_QUADS);
    glTexCoord2f(0, 1); glVertex3i(x + halfWidth, yBottom, z);
    glTexCoord2f(1, 1); glVertex3i(x - halfWidth, yBottom, z);
    glTexCoord2f(1, 0); glVertex3i(x - halfWidth, yTop, z);
    glTexCoord2f(0, 0); glVertex3i(x + halfWidth, yTop, z);
    glEnd();
}

void emitShield(const CastleCraftState& state, int offset) {
    if (state.shieldTime <= 0) return;
    const Craft& c = *state.craft;
    emitSquare(c.x, c.ypos - 300, c.ypos + 500, 400, c.z + offset);
}

// The push wave grows from 400 to 2000 units across as the push runs down.
void emitWave(const CastleCraftState& state, int offset) {
    if (state.pushTime <= 0) return;
    const Craft& c = *state.craft;
    const int q = 1200 - 200 * state.pushTime;
    emitSquare(c.x, c.ypos - q, c.ypos + q, q, c.z + offset);
}

void depthTest(bool on) {
    if (on) glEnable(GL_DEPTH_TEST);
    else glDisable(GL_DEPTH_TEST);
}

}  // namespace

void drawCastleWalls(const CastleWall& wallA, const CastleWall& wallB) {
    bindSlot(TEX_WALL, animationTicks);
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    emitWall(wallA);
    emitWall(wallB);
    glEnable(GL_LIGHTING);
    glEnable(GL_CULL_FACE);
}

void drawShieldsAndWaves(const CastleCraftState& a, const CastleCraftState& b, int viewingPlayer) {
    glBindTexture(GL_TEXTURE_2D, textureTable[TEX_SHIELD].empty() ? 0 : textureTable[TEX_SHIELD][0]);
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glColor3f(1, 1, 1);
    // On the side of each craft that faces this half's camera; the viewing
    // player's own shield and wave are never hidden.
    const bool halfOfA = viewingPlayer == 0;
    const int shieldOffset = halfOfA ? -400 : 400;
    const int waveOffset = halfOfA ? -300 : 300;
    if (a.craft) {
        depthTest(!halfOfA);
        emitShield(a, shieldOffset);
        emitWave(a, waveOffset);
    }
    if (b.craft) {
        depthTest(halfOfA);
        emitWave(b, waveOffset);
        emitShield(b, shieldOffset);
    }
    glDisable(GL_BLEND);
    glEnable(GL_LIGHTING);
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
}
