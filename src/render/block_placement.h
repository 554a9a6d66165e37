#pragma once

#include <GL/gl.h>

#include <array>

#include "render/block_geometry.h"

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

// An edge piece of a rounded body: where it stands, how long it runs and
// how often the texture repeats along it.
struct EdgePlacement {
    Placement at;
    float length, repeat;
};

// The twelve edges of a rounded body, in the order they are drawn.
inline std::array<EdgePlacement, 12> roundedEdges(const BlockShape& b) {
    const float w = float(b.w), h = float(b.h), l = float(b.l);
    const float bottom = 50 - h;
    return {{
        // Along z: the top ones sit one unit under the top face, as the chamfers do.
        {{0, -51, 0, PX, PY, PZ}, l, b.rz},
        {{-w, -51, 0, PY, NX, PZ}, l, b.rz},
        {{0, bottom, 0, NY, PX, PZ}, l, b.rz},
        {{-w, bottom, 0, NX, NY, PZ}, l, b.rz},
        // Along x, from the left side toward the right.
        {{-w, -50, 0, NZ, PY, PX}, w, b.rx},
        {{-w, -50, l, PY, PZ, PX}, w, b.rx},
        {{-w, bottom, 0, NY, NZ, PX}, w, b.rx},
        {{-w, bottom, l, PZ, NY, PX}, w, b.rx},
        // Upright, from the bottom rounding up to the top rounding.
        {{0, bottom, 0, PX, NZ, PY}, h - 100, b.ry},
        {{-w, bottom, 0, NZ, NX, PY}, h - 100, b.ry},
        {{0, bottom, l, PZ, PX, PY}, h - 100, b.ry},
        {{-w, bottom, l, NX, PZ, PY}, h - 100, b.ry},
    }};
}

// The eight corners of a rounded body, in the order they are drawn. A
// corner of octant signs (sx, sy, sz) with an odd number of minus signs
// would mirror the piece, so local x and z trade places there (the octant
// is symmetric in them).
inline std::array<Placement, 8> roundedCorners(const BlockShape& b) {
    const float w = float(b.w), h = float(b.h), l = float(b.l);
    const float centres[8][3] = {{0, -50, 0}, {-w, -50, 0}, {0, -50, l}, {-w, -50, l},
                                 {0, 50 - h, 0}, {-w, 50 - h, 0}, {0, 50 - h, l}, {-w, 50 - h, l}};
    const int signs[8][3] = {{1, 1, -1}, {-1, 1, -1}, {1, 1, 1}, {-1, 1, 1},
                             {1, -1, -1}, {-1, -1, -1}, {1, -1, 1}, {-1, -1, 1}};
    std::array<Placement, 8> corners{};
    for (int i = 0; i < 8; ++i) {
        const Axis ax{signs[i][0], 0, 0}, ay{0, signs[i][1], 0}, az{0, 0, signs[i][2]};
        const float* c = centres[i];
        corners[size_t(i)] = signs[i][0] * signs[i][1] * signs[i][2] > 0 ? Placement{c[0], c[1], c[2], ax, ay, az}
                                                                         : Placement{c[0], c[1], c[2], az, ay, ax};
    }
    return corners;
}
