#include "frontend/menu_block.h"

#include <GL/gl.h>

#include <cmath>

#include "core/settings.h"
#include "render/textures.h"

namespace {

constexpr float HALF[3] = {900.0f, 250.0f, 1000.0f};
constexpr float CENTRE[3] = {0.0f, -250.0f, -4000.0f};
constexpr float BEVEL = 50.0f;
constexpr float QUARTER_TURN = 1.5707963f;

struct Shape {
    float bevel;
    int segments;  // bevel segments per quarter circle
};

Shape shapeForDetails() {
    if (settings.details <= 0) return {0.0f, 1};
    if (settings.details == 1) return {BEVEL, 1};
    return {BEVEL, 4};
}

// A point of the slab given the inner box corner signs and the direction of
// the bevel from that corner.
void emit(const float core[3], const float direction[3], float bevel) {
    glNormal3fv(direction);
    glVertex3f(CENTRE[0] + core[0] + bevel * direction[0], CENTRE[1] + core[1] + bevel * direction[1],
               CENTRE[2] + core[2] + bevel * direction[2]);
}

// One flat face on axis `normalAxis` at side `sign`, inset by the bevel on
// its two other axes; u runs along uAxis (flipped when uSign is negative),
// v down the vAxis.
void drawFace(int normalAxis, float sign, int uAxis, float uSign, int vAxis, float bevel) {
    float direction[3] = {0, 0, 0};
    direction[normalAxis] = sign;
    const float uCorners[4] = {-1, 1, 1, -1};
    const float vCorners[4] = {-1, -1, 1, 1};
    glBegin(GL_QUADS);
    for (int i = 0; i < 4; ++i) {
        float core[3];
        core[normalAxis] = sign * (HALF[normalAxis] - bevel);
        core[uAxis] = uCorners[i] * (HALF[uAxis] - bevel);
        core[vAxis] = vCorners[i] * (HALF[vAxis] - bevel);
        glTexCoord2f(0.5f + 0.5f * uCorners[i] * uSign, 0.5f - 0.5f * vCorners[i]);
        emit(core, direction, bevel);
    }
    glEnd();
}

// The rounded strip along `axis` at the edge with signs s1 on axis a1 and
// s2 on axis a2.
void drawEdge(int axis, int a1, float s1, int a2, float s2, const Shape& shape) {
    glBegin(GL_QUAD_STRIP);
    for (int k = 0; k <= shape.segments; ++k) {
        const float t = QUARTER_TURN * float(k) / float(shape.segments);
        float direction[3] = {0, 0, 0};
        direction[a1] = s1 * std::cos(t);
        direction[a2] = s2 * std::sin(t);
        for (float end : {-1.0f, 1.0f}) {
            float core[3];
            core[axis] = end * (HALF[axis] - shape.bevel);
            core[a1] = s1 * (HALF[a1] - shape.bevel);
            core[a2] = s2 * (HALF[a2] - shape.bevel);
            glTexCoord2f(0.5f + 0.5f * end, float(k) / float(shape.segments));
            emit(core, direction, shape.bevel);
        }
    }
    glEnd();
}

// The patch of a sphere that rounds one corner.
void drawCorner(const float signs[3], const Shape& shape) {
    const float core[3] = {signs[0] * (HALF[0] - shape.bevel), signs[1] * (HALF[1] - shape.bevel),
                           signs[2] * (HALF[2] - shape.bevel)};
    auto point = [&](int i, int j) {
        const float theta = QUARTER_TURN * float(i) / float(shape.segments);
        const float phi = QUARTER_TURN * float(j) / float(shape.segments);
        const float direction[3] = {signs[0] * std::sin(theta) * std::cos(phi), signs[1] * std::cos(theta),
                                    signs[2] * std::sin(theta) * std::sin(phi)};
        glTexCoord2f(float(j) / float(shape.segments), float(i) / float(shape.segments));
        emit(core, direction, shape.bevel);
    };
    glBegin(GL_QUADS);
    for (int i = 0; i < shape.segments; ++i) {
        for (int j = 0; j < shape.segments; ++j) {
            point(i, j);
            point(i + 1, j);
            point(i + 1, j + 1);
            point(i, j + 1);
        }
    }
    glEnd();
}

void drawBevels(const Shape& shape) {
    const float signs[2] = {-1.0f, 1.0f};
    for (float s1 : signs) {
        for (float s2 : signs) {
            drawEdge(0, 1, s1, 2, s2, shape);
            drawEdge(1, 0, s1, 2, s2, shape);
            drawEdge(2, 0, s1, 1, s2, shape);
            for (float s3 : signs) {
                const float corner[3] = {s1, s2, s3};
                drawCorner(corner, shape);
            }
        }
    }
}

}  // namespace

void drawMenuBlock(const MenuBlockTextures& textures, int animationTick) {
    const Shape shape = shapeForDetails();
    // The slab is closed and convex, so depth testing alone hides its back;
    // no face needs a particular winding.
    glDisable(GL_CULL_FACE);
    bindSlot(textures.side, animationTick);
    drawFace(0, 1, 2, 1, 1, shape.bevel);
    drawFace(0, -1, 2, -1, 1, shape.bevel);
    drawFace(1, -1, 0, 1, 2, shape.bevel);
    if (shape.bevel > 0) drawBevels(shape);
    bindSlot(textures.top, animationTick);
    drawFace(1, 1, 0, -1, 2, shape.bevel);
    // The near end reads left to right from the front (+x is on the left),
    // the far end from behind.
    bindSlot(textures.label, animationTick);
    drawFace(2, -1, 0, -1, 1, shape.bevel);
    drawFace(2, 1, 0, 1, 1, shape.bevel);
    glEnable(GL_CULL_FACE);
}
