#pragma once

#include <GL/gl.h>

// A quarter turn given by where the local x, y and z axes go (each a signed
// unit axis) and a centre: places the one shared edge or corner piece of a
// rounded block body at every edge and corner of the block. The placement
// is applied to the vertices rather than through the model-view matrix, so
// a compiled body is one run of vertices without matrix changes in between.
struct Axis {
    int x, y, z;
};

struct Placement {
    float cx, cy, cz;
    Axis ax, ay, az;

    void vertex(float x, float y, float z) const {
        glVertex3f(cx + x * float(ax.x) + y * float(ay.x) + z * float(az.x),
                   cy + x * float(ax.y) + y * float(ay.y) + z * float(az.y),
                   cz + x * float(ax.z) + y * float(ay.z) + z * float(az.z));
    }
    void normal(float x, float y, float z) const {
        glNormal3f(x * float(ax.x) + y * float(ay.x) + z * float(az.x), x * float(ax.y) + y * float(ay.y) + z * float(az.y),
                   x * float(ax.z) + y * float(ay.z) + z * float(az.z));
    }
    void point(const float* p) const {
        normal(p[0], p[1], p[2]);
        vertex(p[0], p[1], p[2]);
    }
};

constexpr Axis PX{1, 0, 0}, NX{-1, 0, 0}, PY{0, 1, 0}, NY{0, -1, 0}, PZ{0, 0, 1}, NZ{0, 0, -1};
