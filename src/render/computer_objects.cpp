#include <GL/gl.h>

#include "core/globals.h"
#include "core/settings.h"
#include "render/objects.h"
#include "sim/physics.h"

namespace {

void line(int x0, int y0, int z0, int x1, int y1, int z1) {
    glVertex3i(x0, y0, z0);
    glVertex3i(x1, y1, z1);
}

bool holds(const Craft& craft, int binding) { return keyHeld(craft, settings.keys[binding]); }

// Which way the pusher steers and how far ahead it looks.
void drawPusherSteering(const Craft& pusher, int probeDistance) {
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    const int x = pusher.x, y = pusher.ypos, z = pusher.z;
    glColor3f(1, 1, 1);
    glBegin(GL_LINES);
    if (holds(pusher, KEY_RIGHT1)) line(x, y, z, x - 1500, y, z);
    if (holds(pusher, KEY_LEFT1)) line(x, y, z, x + 1500, y, z);
    if (holds(pusher, KEY_JUMP1)) line(x, y, z, x, y + 1500, z);
    glColor3f(0, 1, 0);
    for (int offset = -200; offset <= 200; offset += 200) line(x, y, z, x + offset, y, z + probeDistance);
    glEnd();
    glColor3f(1, 1, 1);
    glEnable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
}

void outlineBlockTop(const Level& level, int index, float red, float green, float blue) {
    if (index < 0 || index >= level.blockCount()) return;
    const BlockCorner at = blockCorner(level.blocks[size_t(index)].body);
    const BlockBody& b = level.blocks[size_t(index)].body;
    const int y = at.y + 20;  // just above the top so it is not hidden by it
    glColor3f(red, green, blue);
    glBegin(GL_QUAD_STRIP);
    glVertex3i(at.x, y, at.z); glVertex3i(at.x, y + 60, at.z);
    glVertex3i(at.x, y, at.z + b.length); glVertex3i(at.x, y + 60, at.z + b.length);
    glVertex3i(at.x - b.width, y, at.z + b.length); glVertex3i(at.x - b.width, y + 60, at.z + b.length);
    glVertex3i(at.x - b.width, y, at.z); glVertex3i(at.x - b.width, y + 60, at.z);
    glVertex3i(at.x, y, at.z); glVertex3i(at.x, y + 60, at.z);
    glEnd();
}

void drawDebugBlocks(const Level& level, const ComputerObjectsView& view) {
    glDisable(GL_CULL_FACE);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    outlineBlockTop(level, view.pusherBlockIndex, 1, 1, 0);
    outlineBlockTop(level, view.referenceBlockIndex, 0, 1, 0);
    glColor3f(1, 1, 1);
    glEnable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_CULL_FACE);
}

}  // namespace

void drawComputerObjects(const Level& level, const ComputerObjectsView& view) {
    if (view.ball && view.court) {
        drawPongPaddle(view.computerPaddleX, view.court->body.y, view.court->body.pointY);
        drawPongBall(*view.ball);
    }
    if (view.pusher) {
        drawCraftTrail(*view.pusher, true);
        drawJumpEffect(*view.pusher);
        drawCraftRecord(*view.pusher);
        if (debugView) drawPusherSteering(*view.pusher, view.pusherProbeDistance);
    }
    if (view.bonus) {
        // Blended while it fades in after a spawn or out after a catch.
        if (view.bonusFade > 0) glEnable(GL_BLEND);
        drawBonusStar(view.bonusAngle, view.bonus->x, view.bonus->ypos, view.bonus->z, view.bonusColour[0],
                      view.bonusColour[1], view.bonusColour[2]);
        if (view.bonusFade > 0) glDisable(GL_BLEND);
    }
    if (debugView && (view.pusher || view.bonus)) drawDebugBlocks(level, view);
}
