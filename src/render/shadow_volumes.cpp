#include "render/shadow_volumes.h"

#include <GL/gl.h>

#include <cmath>

namespace {

// The light shines straight down.
constexpr int LIGHT_X = 0, LIGHT_Y = -1, LIGHT_Z = 0;
constexpr int BLOCK_VOLUME_DEPTH = 100000;
constexpr int CRAFT_VOLUME_DEPTH = 10000;
constexpr int CRAFT_SHADOW_RADIUS = 200;

struct Corner {
    int x, y, z;
};

Corner extruded(Corner p, int depth) {
    return {p.x + depth * LIGHT_X, p.y + depth * LIGHT_Y, p.z + depth * LIGHT_Z};
}

void vertex(Corner p) { glVertex3i(p.x, p.y, p.z); }

// A prism under the top face: four walls, the top and the far cap.
void emitBlockVolume(const BlockBody& body, int floorY) {
    const BlockCorner at = blockCorner(body);
    // Only the part of the volume above the lowest receiving surface can
    // shadow anything; the rest would only cost fill.
    const long long reach = (long long)at.y - floorY;
    const int depth = reach < BLOCK_VOLUME_DEPTH ? int(reach > 1 ? reach : 1) : BLOCK_VOLUME_DEPTH;
    const Corner a{at.x, at.y, at.z + body.length}, b{at.x, at.y, at.z};
    const Corner c{at.x - body.width, at.y, at.z}, d{at.x - body.width, at.y, at.z + body.length};
    glBegin(GL_QUAD_STRIP);
    for (Corner p : {a, b, c, d, a}) {
        vertex(p);
        vertex(extruded(p, depth));
    }
    glEnd();
    glBegin(GL_QUADS);
    vertex(a); vertex(b); vertex(c); vertex(d);
    // The far cap faces down, away from the prism, like the walls and the
    // top face outward: a cap wound the other way would be counted as a
    // front face and lose the shadow wherever a ray leaves through it.
    vertex(extruded(d, depth)); vertex(extruded(c, depth)); vertex(extruded(b, depth)); vertex(extruded(a, depth));
    glEnd();
}

// A twelve-sided prism under a disc of radius 200, open at the far end.
void emitCraftVolume(const Craft& craft) {
    // Thirteen steps of 30 degrees: the first and last pairs coincide.
    const double step = M_PI / 6;
    glPushMatrix();
    glTranslatef(float(craft.x), float(craft.ypos), float(craft.z));
    glBegin(GL_QUAD_STRIP);
    for (int k = 0; k < 13; ++k) {
        const double t = k * step;
        const double s = std::sin(t), c = std::cos(t);
        glVertex3i(int(CRAFT_SHADOW_RADIUS * s), -90, int(CRAFT_SHADOW_RADIUS * c));
        glVertex3i(int(CRAFT_VOLUME_DEPTH * LIGHT_X + CRAFT_SHADOW_RADIUS * s), CRAFT_VOLUME_DEPTH * LIGHT_Y,
                   int(CRAFT_VOLUME_DEPTH * LIGHT_Z + CRAFT_SHADOW_RADIUS * c));
    }
    glEnd();
    glBegin(GL_POLYGON);
    for (int k = 0; k < 13; ++k)
        glVertex3i(int(CRAFT_SHADOW_RADIUS * std::sin(k * step)), -90, int(CRAFT_SHADOW_RADIUS * std::cos(k * step)));
    glEnd();
    glPopMatrix();
}

template <typename Emit>
void castTwice(Emit emit) {
    glCullFace(GL_FRONT);
    glStencilFunc(GL_ALWAYS, 0, 0xff);
    glStencilOp(GL_KEEP, GL_INCR, GL_KEEP);
    emit();
    glCullFace(GL_BACK);
    glStencilOp(GL_KEEP, GL_DECR, GL_KEEP);
    emit();
}

}  // namespace

void beginShadowVolumes() {
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glDepthMask(GL_FALSE);
    glEnable(GL_STENCIL_TEST);
    // Pushed back so the volumes do not fight with the surfaces casting them.
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(0, 100);
}

void castBlockShadow(const BlockBody& body, int floorY) {
    castTwice([&] { emitBlockVolume(body, floorY); });
}

void castCraftShadow(const Craft& craft) {
    castTwice([&] { emitCraftVolume(craft); });
}

void shadeShadowedPixels() {
    glDepthMask(GL_TRUE);
    glDisable(GL_POLYGON_OFFSET_FILL);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glStencilFunc(GL_NOTEQUAL, 0, 0xff);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, 1, 1, 0, 0, 1);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0.2f, 0.2f, 0.2f, 0.6f);
    glBegin(GL_QUADS);
    glVertex2i(0, 0); glVertex2i(0, 1); glVertex2i(1, 1); glVertex2i(1, 0);
    glEnd();
    glColor4f(1, 1, 1, 1);
    glEnable(GL_LIGHTING);
    glBlendFunc(GL_ONE, GL_ONE);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glDisable(GL_STENCIL_TEST);
}
