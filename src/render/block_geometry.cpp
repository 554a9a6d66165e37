#include "render/block_geometry.h"

#include <GL/gl.h>

#include <cmath>

#include "render/block_placement.h"
#include "render/textures.h"

namespace {

// Unnormalised normal lengths of the 45-degree chamfers and the corners;
// GL_NORMALIZE is on.
const float K2 = std::sqrt(2.0f);
const float K3 = std::sqrt(3.0f);

inline void vertex(int x, int y, int z, float s, float t) {
    glTexCoord2f(s, t);
    glVertex3i(x, y, z);
}

// The rounded body is one run of triangles rather than quads, strips and
// fans: a software renderer pays for every primitive of a compiled body,
// and a body of 45 of them cost it more than all the blocks' vertices.
// Each quad is split, with its corners in the order, that the renderer
// used for the quads and strips before: the picture is the same.
struct FaceVertex {
    int x, y, z;
    float s, t;
};

void quadAsTriangles(const FaceVertex& a, const FaceVertex& b, const FaceVertex& c, const FaceVertex& d) {
    for (const FaceVertex* v : {&a, &b, &d, &b, &c, &d}) vertex(v->x, v->y, v->z, v->s, v->t);
}

void emitBottom(const BlockShape& b) {
    const int w = b.w, h = b.h, l = b.l;
    glNormal3f(0, -1, 0);
    vertex(-w, -h, l, 0, 0); vertex(-w, -h, 0, 0, b.rz); vertex(0, -h, 0, b.rx, b.rz); vertex(0, -h, l, b.rx, 0);
}

void emitChamferQuads(const BlockShape& b) {
    const int w = b.w, h = b.h, l = b.l;
    const float rx = b.rx, ry = b.ry, rz = b.rz, k = K2;
    emitBottom(b);
    glNormal3f(k, k, 0);  // upper right chamfer
    vertex(0, -1, l, 0.1f, 0); vertex(50, -50, l - 50, 0.1f, 0.01f); vertex(50, -50, 50, 0.11f, 0.01f); vertex(0, -1, 0, 0.11f, 0);
    glNormal3f(1, 0, 0);  // right face
    vertex(50, -50, l - 50, 0, 0); vertex(50, 50 - h, l - 50, 0, ry); vertex(50, 50 - h, 50, rz, ry); vertex(50, -50, 50, rz, 0);
    glNormal3f(k, -k, 0);  // lower right chamfer
    vertex(50, 50 - h, l - 50, 0.1f, 0.99f); vertex(0, -h, l, 0.1f, 1); vertex(0, -h, 0, 0.11f, 1); vertex(50, 50 - h, 50, 0.11f, 0.99f);
    glNormal3f(-k, k, 0);  // upper left chamfer
    vertex(-w, -1, 0, 0, 0); vertex(-w - 50, -50, 50, 0, 0.01f); vertex(-w - 50, -50, l - 50, 0.01f, 0.01f); vertex(-w, -1, l, 0.01f, 0);
    glNormal3f(-1, 0, 0);  // left face
    vertex(-w - 50, -50, 50, 0, 0); vertex(-w - 50, 50 - h, 50, 0, ry); vertex(-w - 50, 50 - h, l - 50, rz, ry); vertex(-w - 50, -50, l - 50, rz, 0);
    glNormal3f(-k, -k, 0);  // lower left chamfer
    vertex(-w - 50, 50 - h, 50, 0.99f, 0.99f); vertex(-w, -h, 0, 0.99f, 1); vertex(-w, -h, l, 1, 1); vertex(-w - 50, 50 - h, l - 50, 1, 0.99f);
    glNormal3f(0, k, k);  // upper far chamfer
    vertex(-w, 0, l, 0.1f, 0); vertex(50 - w, -50, l + 50, 0.1f, 0.01f); vertex(-50, -50, l + 50, 0.11f, 0.01f); vertex(0, 0, l, 0.11f, 0);
    glNormal3f(0, 0, 1);  // far face
    vertex(50 - w, -50, l + 50, rx, 0); vertex(50 - w, 50 - h, l + 50, rx, ry); vertex(-50, 50 - h, l + 50, 0, ry); vertex(-50, -50, l + 50, 0, 0);
    glNormal3f(0, -k, k);  // lower far chamfer
    vertex(50 - w, 50 - h, l + 50, 0.1f, 0.99f); vertex(-w, -h, l, 0.1f, 1); vertex(0, -h, l, 0.11f, 1); vertex(-50, 50 - h, l + 50, 0.11f, 0.99f);
    glNormal3f(k, 0, k);  // far right upright chamfer
    vertex(-50, -50, l + 50, 0, 0); vertex(-50, 50 - h, l + 50, 1, 0); vertex(50, 50 - h, l - 50, 1, 0); vertex(50, -50, l - 50, 0, 0);
    glNormal3f(-k, 0, k);  // far left upright chamfer
    vertex(-w - 50, -50, l - 50, 0, 0); vertex(-w - 50, 50 - h, l - 50, 1, 0); vertex(50 - w, 50 - h, l + 50, 1, 0); vertex(50 - w, -50, l + 50, 0, 0);
    glNormal3f(0, k, -k);  // upper near chamfer
    vertex(0, 0, 0, 0.1f, 0); vertex(-50, -50, -50, 0.1f, 0.01f); vertex(50 - w, -50, -50, 0.11f, 0.01f); vertex(-w, 0, 0, 0.11f, 0);
    glNormal3f(0, 0, -1);  // near face
    vertex(-50, -50, -50, 0, 0); vertex(-50, 50 - h, -50, 0, ry); vertex(50 - w, 50 - h, -50, rx, ry); vertex(50 - w, -50, -50, rx, 0);
    glNormal3f(0, -k, -k);  // lower near chamfer
    vertex(-50, 50 - h, -50, 0.1f, 0.99f); vertex(0, -h, 0, 0.1f, 1); vertex(-w, -h, 0, 0.11f, 1); vertex(50 - w, 50 - h, -50, 0.11f, 0.99f);
    glNormal3f(k, 0, -k);  // near right upright chamfer
    vertex(50, -50, 50, 0, 0); vertex(50, 50 - h, 50, 1, 0); vertex(-50, 50 - h, -50, 1, 0); vertex(-50, -50, -50, 0, 0);
    glNormal3f(-k, 0, -k);  // near left upright chamfer
    vertex(50 - w, -50, -50, 0, 0); vertex(50 - w, 50 - h, -50, 1, 0); vertex(-w - 50, 50 - h, 50, 1, 0); vertex(-w - 50, -50, 50, 0, 0);
}

void emitChamferCorners(const BlockShape& b) {
    const int w = b.w, h = b.h, l = b.l;
    const float K = K3;
    glNormal3f(-K, K, -K);  // near left top
    vertex(50 - w, -50, -50, 0.11f, 0.01f); vertex(-w - 50, -50, 50, 0.1f, 0.01f); vertex(-w, 0, 0, 0.1f, 0);
    glNormal3f(K, K, -K);  // near right top
    vertex(50, -50, 50, 0.11f, 0.01f); vertex(-50, -50, -50, 0.1f, 0.01f); vertex(0, 0, 0, 0.1f, 0);
    glNormal3f(-K, -K, -K);  // near left bottom
    vertex(-w, -h, 0, 0.1f, 0.99f); vertex(-w - 50, 50 - h, 50, 0.1f, 1); vertex(50 - w, 50 - h, -50, 0.11f, 1);
    glNormal3f(K, -K, -K);  // near right bottom
    vertex(0, -h, 0, 0.1f, 0.99f); vertex(-50, 50 - h, -50, 0.1f, 1); vertex(50, 50 - h, 50, 0.11f, 1);
    glNormal3f(-K, K, K);  // far left top
    vertex(-w, 0, l, 0.1f, 0); vertex(-w - 50, -50, l - 50, 0.1f, 0.01f); vertex(50 - w, -50, l + 50, 0.11f, 0.01f);
    glNormal3f(K, K, K);  // far right top
    vertex(0, 0, l, 0.1f, 0); vertex(-50, -50, l + 50, 0.1f, 0.01f); vertex(50, -50, l - 50, 0.11f, 0.01f);
    glNormal3f(-K, -K, K);  // far left bottom
    vertex(50 - w, 50 - h, l + 50, 0.11f, 1); vertex(-w - 50, 50 - h, l - 50, 0.1f, 1); vertex(-w, -h, l, 0.1f, 0.99f);
    glNormal3f(K, -K, K);  // far right bottom
    vertex(0, -h, l, 0.1f, 0.99f); vertex(50, 50 - h, l - 50, 0.11f, 1); vertex(-50, 50 - h, l + 50, 0.1f, 1);
}


// A quarter cylinder of radius 50 along local +z from 0 to length, covering
// the local +x/+y quadrant, from the five-point quarter circle: four quads
// (a: at 0, b: at length) split along a0-b1.
void emitEdgePiece(const Placement& at, float length, float repeat) {
    for (int k = 0; k < 4; ++k) {
        // cornerCircle runs from (0, -50) to (50, 0); turned to run from
        // local +y to local +x.
        const float x0 = cornerCircle[k][0], y0 = -cornerCircle[k][1];
        const float x1 = cornerCircle[k + 1][0], y1 = -cornerCircle[k + 1][1];
        const float a0[4] = {x0, y0, 0, 0}, b0[4] = {x0, y0, length, repeat};
        const float a1[4] = {x1, y1, 0, 0}, b1[4] = {x1, y1, length, repeat};
        for (const float* v : {a0, b0, b1, b1, a1, a0}) {
            at.normal(v[0], v[1], 0);
            glTexCoord2f(v[3], 0);
            at.vertex(v[0], v[1], v[2]);
        }
    }
}

// One octant of a sphere of radius 50 (local +x, +y, +z) from the
// quarter-sphere patch: ring r is points 5r..5r+4, from the pole downward;
// the cap round the pole, then three bands of quads split as the edges are.
void emitCornerPiece(const Placement& at) {
    glTexCoord2f(0, 0);
    const float pole[3] = {0, 50, 0};
    for (int k = 0; k < 4; ++k) {
        const float* cap[3] = {pole, cornerSphere[k], cornerSphere[k + 1]};
        for (const float* p : cap) at.point(p);
    }
    for (int ring = 0; ring < 3; ++ring)
        for (int k = 0; k < 4; ++k) {
            const float* a0 = cornerSphere[ring * 5 + k];
            const float* b0 = cornerSphere[(ring + 1) * 5 + k];
            const float* a1 = cornerSphere[ring * 5 + k + 1];
            const float* b1 = cornerSphere[(ring + 1) * 5 + k + 1];
            const float* band[6] = {a0, b0, b1, a0, b1, a1};
            for (const float* p : band) at.point(p);
        }
}

void emitRoundedFaces(const BlockShape& b) {
    const int w = b.w, h = b.h, l = b.l, bottom = 50 - h;
    glNormal3f(0, -1, 0);
    quadAsTriangles({-w, -h, l, 0, 0}, {-w, -h, 0, 0, b.rz}, {0, -h, 0, b.rx, b.rz}, {0, -h, l, b.rx, 0});
    glNormal3f(1, 0, 0);
    quadAsTriangles({50, -50, l, 0, 0}, {50, bottom, l, 0, b.ry}, {50, bottom, 0, b.rz, b.ry}, {50, -50, 0, b.rz, 0});
    glNormal3f(-1, 0, 0);
    quadAsTriangles({-w - 50, -50, 0, 0, 0}, {-w - 50, bottom, 0, 0, b.ry}, {-w - 50, bottom, l, b.rz, b.ry},
                    {-w - 50, -50, l, b.rz, 0});
    glNormal3f(0, 0, 1);
    quadAsTriangles({-w, -50, l + 50, 0, 0}, {-w, bottom, l + 50, 0, b.ry}, {0, bottom, l + 50, b.rx, b.ry},
                    {0, -50, l + 50, b.rx, 0});
    glNormal3f(0, 0, -1);
    quadAsTriangles({0, -50, -50, 0, 0}, {0, bottom, -50, 0, b.ry}, {-w, bottom, -50, b.rx, b.ry}, {-w, -50, -50, b.rx, 0});
}

void emitRoundedEdges(const BlockShape& b) {
    for (const EdgePlacement& edge : roundedEdges(b)) emitEdgePiece(edge.at, edge.length, edge.repeat);
}

void emitRoundedCorners(const BlockShape& b) {
    for (const Placement& corner : roundedCorners(b)) emitCornerPiece(corner);
}

}  // namespace

void emitPlainBody(const BlockShape& b) {
    const int w = b.w, h = b.h, l = b.l;
    glBegin(GL_QUADS);
    emitBottom(b);
    glNormal3f(1, 0, 0);
    vertex(0, 0, l, 0, 0); vertex(0, -h, l, 0, b.ry); vertex(0, -h, 0, b.rz, b.ry); vertex(0, 0, 0, b.rz, 0);
    glNormal3f(-1, 0, 0);
    vertex(-w, 0, 0, 0, 0); vertex(-w, -h, 0, 0, b.ry); vertex(-w, -h, l, b.rz, b.ry); vertex(-w, 0, l, b.rz, 0);
    glNormal3f(0, 0, 1);
    vertex(-w, 0, l, 0, 0); vertex(-w, -h, l, 0, b.ry); vertex(0, -h, l, b.rx, b.ry); vertex(0, 0, l, b.rx, 0);
    glNormal3f(0, 0, -1);
    vertex(0, 0, 0, 0, 0); vertex(0, -h, 0, 0, b.ry); vertex(-w, -h, 0, b.rx, b.ry); vertex(-w, 0, 0, b.rx, 0);
    glEnd();
}

void emitChamferedBody(const BlockShape& b) {
    glBegin(GL_QUADS);
    emitChamferQuads(b);
    glEnd();
    glBegin(GL_TRIANGLES);
    emitChamferCorners(b);
    glEnd();
}

void emitRoundedBody(const BlockShape& b) {
    glBegin(GL_TRIANGLES);
    emitRoundedFaces(b);
    emitRoundedEdges(b);
    emitRoundedCorners(b);
    glEnd();
}

void emitTopFace(const BlockShape& b) { emitTopQuadAt(b, {0, 0, 0}); }

void emitTopQuadAt(const BlockShape& b, const BlockCorner& at) {
    const int x = at.x, y = at.y, z = at.z;
    glBegin(GL_QUADS);
    glNormal3f(0, 1, 0);
    vertex(x, y, z + b.l, 0, 0); vertex(x, y, z, 0, b.rz); vertex(x - b.w, y, z, b.rx, b.rz); vertex(x - b.w, y, z + b.l, b.rx, 0);
    glEnd();
}
