#include <GL/gl.h>

#include <cstdlib>

#include "core/globals.h"
#include "core/settings.h"
#include "render/objects.h"
#include "render/textures.h"
#include "render/track_rules.h"

namespace {

constexpr int DOOR_HEIGHT = 500;
constexpr int DOOR_DEPTH = 600;

struct Point3 {
    float x, y, z;
};

// One face of a door with its outward normal; the corners are reordered
// when needed so the face is wound counter-clockwise seen from outside.
void emitFace(const Point3 (&c)[4], const float (&tex)[4][2], Point3 normal) {
    const Point3 a{c[1].x - c[0].x, c[1].y - c[0].y, c[1].z - c[0].z};
    const Point3 b{c[2].x - c[0].x, c[2].y - c[0].y, c[2].z - c[0].z};
    const Point3 n{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
    const bool reversed = n.x * normal.x + n.y * normal.y + n.z * normal.z < 0;
    glNormal3f(normal.x, normal.y, normal.z);
    for (int i = 0; i < 4; ++i) {
        const int k = reversed ? 3 - i : i;
        glTexCoord2fv(tex[k]);
        glVertex3f(c[k].x, c[k].y, c[k].z);
    }
}

// A door hinged at the origin reaching `width` along x toward `toward`
// (+1 or -1), standing on y 0..500 and z 0..600 (it swings away from the
// approaching craft, so open doors stand beside the track).
void emitDoor(int width, int toward) {
    const float w = float(width * toward), h = DOOR_HEIGHT, d = DOOR_DEPTH;
    // The gate image repeats along the door about once per 900 units.
    const float repeat = float(width / 900 > 0 ? width / 900 : 1);
    const float side[4][2] = {{0, 1}, {repeat, 1}, {repeat, 0.5f}, {0, 0.5f}};
    const float end[4][2] = {{0, 1}, {0.66f, 1}, {0.66f, 0.5f}, {0, 0.5f}};
    const float top[4][2] = {{0, 0}, {repeat, 0}, {repeat, 0.5f}, {0, 0.5f}};
    const float sign = float(toward);
    glBegin(GL_QUADS);
    emitFace({{0, 0, 0}, {w, 0, 0}, {w, h, 0}, {0, h, 0}}, side, {0, 0, -1});
    emitFace({{0, 0, d}, {w, 0, d}, {w, h, d}, {0, h, d}}, side, {0, 0, 1});
    emitFace({{0, 0, 0}, {0, 0, d}, {0, h, d}, {0, h, 0}}, end, {-sign, 0, 0});
    emitFace({{w, 0, 0}, {w, 0, d}, {w, h, d}, {w, h, 0}}, end, {sign, 0, 0});
    emitFace({{0, h, 0}, {w, h, 0}, {w, h, d}, {0, h, d}}, top, {0, 1, 0});
    glEnd();
}

void drawIdleBonusStar(const BlockBody& b) { drawBonusStar(0, b.pointX, b.y + 200, b.pointY, 0.6f, 0, 0); }

void drawIdlePusher(const BlockBody& b) {
    drawCraft(1, 0, b.pointX, b.y + 200, b.pointY, b.pointX, b.y + 200, b.pointY, 0, 16, 0, 0);
}

bool heldByCourt(const Craft& player, const BlockBody& court) {
    return player.holdTimer == HOLD_BY_PONG && player.x >= court.x - court.width - 200 && player.x <= court.x + 200 &&
           player.z >= court.z - 200 && player.z <= court.z + court.length + 200;
}

// While a court holds the craft it is the near paddle: a blue bar before it.
void drawPlayerPaddleBar(const Craft& player) {
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glColor3f(0, 0, 1);
    const int z = player.z + 250;
    glBegin(GL_QUADS);
    glVertex3i(player.x - 450, player.ypos - 150, z);
    glVertex3i(player.x - 450, player.ypos - 50, z);
    glVertex3i(player.x + 450, player.ypos - 50, z);
    glVertex3i(player.x + 450, player.ypos - 150, z);
    glEnd();
    glColor3f(1, 1, 1);
    glDisable(GL_BLEND);
    glEnable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
}

}  // namespace

void drawCheckpointGate(int rightX, int leftX, int y, int gateZ, int referenceZ) {
    glColor3f(1, 1, 1);
    bindSlot(TEX_CHECKP, animationTicks);
    const int doorWidth = std::abs(rightX - leftX) / 2;
    const float angle = float(checkpointDoorAngle(gateZ, referenceZ));
    glPushMatrix();
    glTranslatef(float(rightX), float(y), float(gateZ));
    glRotatef(angle, 0, 1, 0);
    emitDoor(doorWidth, -1);
    glPopMatrix();
    glPushMatrix();
    glTranslatef(float(leftX), float(y), float(gateZ));
    glRotatef(-angle, 0, 1, 0);
    emitDoor(doorWidth, 1);
    glPopMatrix();
}

void drawBonusStar(int angle, int x, int y, int z, float red, float green, float blue) {
    static const int FRONT[12][2][3] = {
        {{0, 500, 0}, {60, 360, 0}}, {{0, 500, 0}, {-60, 360, 0}},
        {{60, 360, 0}, {240, 420, 0}}, {{140, 300, 0}, {230, 420, 0}},
        {{-60, 360, 0}, {-230, 420, 0}}, {{-140, 300, 0}, {-230, 420, 0}},
        {{-60, 200, 0}, {-230, 180, 0}}, {{-140, 300, 0}, {-230, 180, 0}},
        {{60, 200, 0}, {230, 180, 0}}, {{140, 300, 0}, {230, 180, 0}},
        {{60, 200, 0}, {0, 80, 0}}, {{-60, 200, 0}, {0, 80, 0}}};
    glPushMatrix();
    glTranslatef(float(x), float(y), float(z));
    glRotatef(float(angle), 0, 1, 0);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    glColor4f(red, green, blue, 0.5f);
    glBegin(GL_TRIANGLES);
    for (int side = 0; side < 2; ++side) {
        const int centreZ = side == 0 ? 40 : -40;
        for (int i = 0; i < 12; ++i) {
            int a[3] = {FRONT[i][0][0], FRONT[i][0][1], FRONT[i][0][2]};
            int b[3] = {FRONT[i][1][0], FRONT[i][1][1], FRONT[i][1][2]};
            // The first two triangles meet at the top point; the rest fan out
            // from the centre. The back's upper right arm is a little narrower.
            if (side == 1 && i == 2) b[0] = 230;
            if (i < 2) {
                glVertex3iv(a); glVertex3iv(b); glVertex3i(0, 300, centreZ);
            } else {
                glVertex3i(0, 300, centreZ); glVertex3iv(a); glVertex3iv(b);
            }
        }
    }
    glEnd();
    glColor3f(1, 1, 1);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_CULL_FACE);
    glEnable(GL_LIGHTING);
    glPopMatrix();
    glColor4f(1, 1, 1, 1);
}

void drawBlockItems(const Level& level, const Craft& player, bool pusherActive, bool bonusActive) {
    for (const Block& block : level.blocks) {
        const BlockBody& b = block.body;
        if (b.pointX == 0) continue;
        if (b.has(FLAG_CHECKPOINT)) drawCheckpointGate(b.x, b.x - b.width, b.y, b.pointY, player.z);
        if (!b.has(FLAG_PONG)) {
            if (b.has(FLAG_BONUS)) {
                if (!bonusActive) drawIdleBonusStar(b);
            } else if (b.has(FLAG_PUSHER) && !pusherActive) {
                drawIdlePusher(b);
            }
        } else if (heldByCourt(player, b)) {
            drawPlayerPaddleBar(player);
        } else {
            drawPongPaddle(b.pointX, b.y, b.pointY);
        }
    }
}
