#include "render/shadow_volumes.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "render/view_volume.h"

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

// The window rectangle the volumes of this pass can have touched: the
// stencil count stays 0 outside it, so the darkening quad need not cover
// more (a software renderer tests the stencil of every pixel it covers).
bool boundedShade = true;
struct ShadeBounds {
    ViewVolume view{};
    GLint viewport[4] = {};
    bool whole = false;  // a volume reaches behind the eye: its projection is unbounded
    bool any = false;
    double left = 0, bottom = 0, right = 0, top = 0;  // window pixels
} bounds;

void startBounds() {
    GLdouble projection[16], modelView[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView);
    glGetIntegerv(GL_VIEWPORT, bounds.viewport);
    bounds.view = ViewVolume::of(projection, modelView);
    bounds.whole = bounds.any = false;
}

// Grows the rectangle by the projection of a box around one volume.
void addToBounds(const double* low, const double* high) {
    if (bounds.whole || bounds.view.boxOutside(low, high)) return;
    const double* m = bounds.view.clip;
    for (int corner = 0; corner < 8; ++corner) {
        const double p[3] = {(corner & 1) ? high[0] : low[0], (corner & 2) ? high[1] : low[1],
                             (corner & 4) ? high[2] : low[2]};
        const double x = m[0] * p[0] + m[4] * p[1] + m[8] * p[2] + m[12];
        const double y = m[1] * p[0] + m[5] * p[1] + m[9] * p[2] + m[13];
        const double w = m[3] * p[0] + m[7] * p[1] + m[11] * p[2] + m[15];
        if (w < 1.0) {
            bounds.whole = true;
            return;
        }
        const double wx = bounds.viewport[0] + (x / w + 1) * 0.5 * bounds.viewport[2];
        const double wy = bounds.viewport[1] + (y / w + 1) * 0.5 * bounds.viewport[3];
        if (!bounds.any) {
            bounds.left = bounds.right = wx;
            bounds.bottom = bounds.top = wy;
            bounds.any = true;
        }
        bounds.left = std::min(bounds.left, wx);
        bounds.right = std::max(bounds.right, wx);
        bounds.bottom = std::min(bounds.bottom, wy);
        bounds.top = std::max(bounds.top, wy);
    }
}

// The darkening quad in the pass's coordinates (0..1 across the viewport,
// y downward): the whole viewport, or the rectangle with two pixels to
// spare on every side. False when no volume reached the viewport.
bool shadeQuad(double& left, double& top, double& right, double& bottom) {
    left = top = 0;
    right = bottom = 1;
    if (!boundedShade || bounds.whole) return true;
    if (!bounds.any) return false;
    const GLint* v = bounds.viewport;
    if (v[2] <= 0 || v[3] <= 0) return true;
    auto across = [](double pixel, int origin, int size) {
        return std::clamp((pixel - origin) / size, 0.0, 1.0);
    };
    left = across(std::floor(bounds.left) - 2, v[0], v[2]);
    right = across(std::ceil(bounds.right) + 2, v[0], v[2]);
    top = 1 - across(std::ceil(bounds.top) + 2, v[1], v[3]);
    bottom = 1 - across(std::floor(bounds.bottom) - 2, v[1], v[3]);
    return left < right && top < bottom;
}

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

void setBoundedShadowShade(bool enabled) { boundedShade = enabled; }

void beginShadowVolumes() {
    startBounds();
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glDepthMask(GL_FALSE);
    glEnable(GL_STENCIL_TEST);
    // Pushed back so the volumes do not fight with the surfaces casting them.
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(0, 100);
}

void castBlockShadow(const BlockBody& body, int floorY) {
    const BlockCorner at = blockCorner(body);
    const double depth = std::clamp<double>(double(at.y) - floorY, 1, BLOCK_VOLUME_DEPTH);
    const double low[3] = {double(at.x) - body.width, at.y - depth, double(at.z)};
    const double high[3] = {double(at.x), double(at.y), double(at.z) + body.length};
    addToBounds(low, high);
    castTwice([&] { emitBlockVolume(body, floorY); });
}

void castCraftShadow(const Craft& craft) {
    const double r = CRAFT_SHADOW_RADIUS;
    const double low[3] = {craft.x - r, double(craft.ypos) - CRAFT_VOLUME_DEPTH, craft.z - r};
    const double high[3] = {craft.x + r, double(craft.ypos), craft.z + r};
    addToBounds(low, high);
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
    double left, top, right, bottom;
    if (shadeQuad(left, top, right, bottom)) {
        glBegin(GL_QUADS);
        glVertex2d(left, top); glVertex2d(left, bottom); glVertex2d(right, bottom); glVertex2d(right, top);
        glEnd();
    }
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
