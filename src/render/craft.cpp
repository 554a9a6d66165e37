#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "core/globals.h"
#include "render/craft_rules.h"
#include "render/objects.h"
#include "render/textures.h"

namespace {

constexpr int SLOT_CRAFT_BODY = 7;

// The ring body: five rings around the y axis, each a pair of (radius,
// depth below the centre) points. The craft and the disc share the outline
// and differ in normals and texture coordinates.
enum Radius { RADIUS_P, RADIUS_Q, RADIUS_R };
struct RingPoint {
    Radius radius;
    int depth;
    int craftNormalY;  // the craft's normals lean down
    float craftV;
    float discV;
};
const RingPoint RINGS[5][2] = {
    {{RADIUS_P, 80, -80, 0.01f, 0.0f}, {RADIUS_Q, 100, -80, 0.2f, 0.16f}},
    {{RADIUS_Q, 100, -100, 0.2f, 0.16f}, {RADIUS_Q, 130, -130, 0.3f, 0.33f}},
    {{RADIUS_Q, 130, -130, 0.33f, 0.33f}, {RADIUS_P, 150, -150, 0.5f, 0.5f}},
    {{RADIUS_R, 115, -115, 0.25f, 0.25f}, {RADIUS_P, 80, -80, 0.0f, 0.0f}},
    {{RADIUS_P, 150, -150, 0.5f, 0.5f}, {RADIUS_R, 115, -115, 0.25f, 0.25f}},
};
const float RING_SHADE[5] = {0.6f, 0.5f, 0.4f, 0.3f, 0.3f};

struct RingBody {
    float radii[3];
    float tint[3];  // added to each ring's shade
    float paint[3];  // then multiplied in: white leaves the texture's colours
    float alpha;
    bool disc;      // disc normals point up, its texture wraps twice as often
    float segments;
    int x, y, z;    // centre
};

void emitRingBody(const RingBody& body) {
    const float step = float(2 * M_PI) / body.segments;
    const float uScale = (body.disc ? 4.0f : 2.0f) / ((body.segments + 1) * step);
    const int count = int(body.segments);
    glBegin(GL_QUAD_STRIP);
    for (int ring = 0; ring < 5; ++ring) {
        const float shade = RING_SHADE[ring];
        glColor4f((body.tint[0] + shade) * body.paint[0], (body.tint[1] + shade) * body.paint[1],
                  (body.tint[2] + shade) * body.paint[2], body.alpha);
        for (int k = 0; k <= count; ++k) {
            const float angle = float(k) * step;
            const float s = std::sin(angle), c = std::cos(angle);
            for (const RingPoint& point : RINGS[ring]) {
                const float r = body.radii[point.radius];
                const int px = int(r * s), pz = int(r * c);
                const int normalY = body.disc ? point.depth : point.craftNormalY;
                glNormal3i(px, normalY, pz);
                glTexCoord2f(angle * uScale, body.disc ? point.discV : point.craftV);
                glVertex3i(body.x + px, body.y - point.depth, body.z + pz);
            }
        }
    }
    glEnd();
}

// A painted fin is plain colour: the texture's blue would darken any colour
// laid over it.
void emitFin(int kind, float alpha, const CraftPaint* paint) {
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    if (paint != nullptr) {
        glDisable(GL_TEXTURE_2D);
        glColor4f(paint->red, paint->green, paint->blue, alpha);
    } else {
        glColor4f(1, 1, 1, alpha);
    }
    const bool swapped = kind < 1;
    glBegin(GL_QUAD_STRIP);
    for (int i = 0; i < 16; ++i) {
        const int g = 120 - 6 * i, z = 20 * i - 90;
        const float y = 70.0f * std::sin(0.3f * float(i)), v = 0.025f * float(i) + 0.51f;
        glTexCoord2f(swapped ? 0.5f : 0.0f, v); glVertex3f(float(g), y, float(z));
        glTexCoord2f(swapped ? 0.0f : 0.5f, v); glVertex3f(float(-g), y, float(z));
    }
    glEnd();
    if (paint != nullptr && !wireframe) glEnable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glEnable(GL_CULL_FACE);
}

// side -1: the left engine (x -100), +1 the right one.
void emitEngine(int side) {
    const float cx = 100.0f * float(side);
    const float step = float(M_PI / 8);
    glBegin(GL_TRIANGLE_FAN);  // the cone from the hull to the nozzle
    glTexCoord2f(0.75f, 0.75f);
    glVertex3f(0, -40, 15);
    for (int j = 0; j <= 16; ++j) {
        const float t = float(j) * step;
        const float p[3] = {cx - 50 * std::sin(t), 50 * std::cos(t) - 45, -170};
        glNormal3fv(p);
        glTexCoord2f(0.5f, 0.5f + 0.5f * float(j) / 16.0f);
        glVertex3fv(p);
    }
    glEnd();
    glBegin(GL_TRIANGLE_FAN);  // the nozzle cap
    glTexCoord2f(0.875f, 0.75f);
    glVertex3f(cx, -45, -165);
    for (int j = 0; j <= 16; ++j) {
        const float t = float(j) * step;
        const float p[3] = {50 * std::sin(t) + cx, 50 * std::cos(t) - 45, -165};
        glNormal3fv(p);
        glTexCoord2f(0.875f + 0.125f * std::sin(t), 0.75f + 0.25f * std::cos(t));
        glVertex3fv(p);
    }
    glEnd();
}

void emitFlame(float tipX, float tipZ, float centreX, float radius, int points, float step) {
    glBegin(GL_TRIANGLE_FAN);
    glVertex3f(tipX, -30, tipZ);
    for (int j = 0; j < points; ++j) {
        const float a = float(j) * step;
        glVertex3f(centreX + radius * std::sin(a), -45 + radius * std::cos(a), -170);
    }
    glEnd();
}

struct Exhaust {
    int dir;
    int forwardSpeed;
    int prevZ, z;
    bool translucent;
};

void emitExhaust(const Exhaust& e) {
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    const float m = float(e.forwardSpeed);
    const ExhaustTips tips = exhaustTips(e.dir, e.prevZ, e.z, e.translucent);
    glColor4f(m / 500 + 0.1f, m / 900 + 0.1f, 0, 0);
    for (int side = -1; side <= 1; side += 2)
        emitFlame(90.0f * float(side), tips.inner, 100.0f * float(side), 33, 8, float(2 * M_PI / 7));
    if (!tips.outerShown) return;
    glEnable(GL_BLEND);
    glColor4f(m / 600 + 0.3f, 0.2f, 0.2f, 0);
    for (int side = -1; side <= 1; side += 2)
        emitFlame(80.0f * float(side), tips.outer, 100.0f * float(side), 45, 17, float(M_PI / 8));
    glDisable(GL_BLEND);
}

// Faces the way the craft faces: a player's own chase camera never sees it
// (it would hide the track ahead), an oncoming opponent always does.
void emitMarker() {
    glColor4f(1, 0, 0, 0.8f);
    glBegin(GL_TRIANGLES);
    glVertex3i(0, 500, 0);
    glVertex3i(300, 1400, 0);
    glVertex3i(-300, 1400, 0);
    glEnd();
}

}  // namespace

void drawCraft(int kind, int verticalSpeed, int prevX, int /*prevY*/, int prevZ, int x, int y, int z,
               float tint, float segments, int forwardSpeed, unsigned transparency, const CraftPaint* paint) {
    const int dir = std::clamp(kind, -1, 1);
    const unsigned t = transparency & 0xffu;
    const bool marker = kind >= -1 && kind <= 1 && t == 0;
    const float alpha = 1.0f - float(t);
    glEnable(GL_COLOR_MATERIAL);  // the ring shades and the damage tint are colours
    glPushMatrix();
    glTranslatef(float(x), float(y), float(z));
    if (dir < 0) glRotatef(180, 0, 1, 0);
    bindSlot(SLOT_CRAFT_BODY, animationTicks);
    const CraftRadii radii = craftRadii(verticalSpeed);
    RingBody ring{{radii.p, radii.q, radii.r}, {tint, 0, 0}, {1, 1, 1}, alpha, false, segments, 0, 0, 0};
    if (paint != nullptr) {
        // Some of the texture's light stays, so the ring's panels still show.
        const float rgb[3] = {paint->red, paint->green, paint->blue};
        for (int k = 0; k < 3; ++k) ring.paint[k] = 0.35f + 0.65f * rgb[k];
    }
    emitRingBody(ring);
    // Sideways motion turns the fin and the engines.
    glRotatef(float(x - prevX) * float(dir) / 10.0f, 0, 1, 0);
    emitFin(kind, alpha, paint);
    emitEngine(-1);
    emitEngine(1);
    emitExhaust({dir, forwardSpeed, prevZ, z, t != 0});
    if (marker) emitMarker();
    glEnable(GL_LIGHTING);
    if (!wireframe) glEnable(GL_TEXTURE_2D);
    glPopMatrix();
    glColor3f(1, 1, 1);
}

void drawCraftRecord(const Craft& craft, const CraftPaint* paint) {
    drawCraft(craft.kind, craft.v_speed, craft.prevX, craft.prevY, craft.prevZ, craft.x, craft.ypos, craft.z,
              float(100 - craft.health) / 10.0f, 16, craft.f_speed, 0, paint);
    glColor3f(1, 1, 1);
}

void drawDisc(int x, int y, int z, int segments, float red, float green, float blue, float scale, float alpha) {
    const float radii[3] = {std::min(150 * scale, 230.0f), std::min(200 * scale, 280.0f), std::min(140 * scale, 220.0f)};
    emitRingBody({{radii[0], radii[1], radii[2]}, {red, green, blue}, {1, 1, 1}, alpha, true, float(segments), x, y, z});
}

void drawPongPaddle(int x, int y, int z) {
    drawCraft(-2, 0, x, y + 200, z, x, y + 200, z, 0, 16, 0, 0);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glColor4f(0, 0, 1, 0);
    glBegin(GL_QUADS);
    glVertex3i(x - 450, y, z - 250);
    glVertex3i(x - 450, y + 100, z - 250);
    glVertex3i(x + 450, y + 100, z - 250);
    glVertex3i(x + 450, y, z - 250);
    glEnd();
    glDisable(GL_BLEND);
    glEnable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
}

void drawPongBall(const PongBallView& ball) {
    glBindTexture(GL_TEXTURE_2D, textureTable[SLOT_CRAFT_BODY].empty() ? 0 : textureTable[SLOT_CRAFT_BODY][0]);
    drawDisc(ball.x, ball.y, ball.z, 16, 0.5f, -0.1f, -0.1f, 1.0f, 1.0f);
    if (ball.spin == 0) return;
    // A spinning ball leaves a fading trail (not blended into the glow image).
    if (!glowPass) glEnable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    for (int i = 0; i < 5; ++i)
        drawDisc(ball.trail[i][0], ball.trail[i][1], ball.trail[i][2], 8, -0.45f, -0.45f, -0.3f, 1.0f / float(i + 1), 0.3f);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    if (!glowPass) glDisable(GL_BLEND);
}
