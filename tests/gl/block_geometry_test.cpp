#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <vector>

#include "core/globals.h"
#include "core/settings.h"
#include "render/block_cache.h"
#include "render/block_geometry.h"
#include "render/block_placement.h"
#include "render/textures.h"
#include "support/gl_context.h"

namespace {

// The rounded body as it was written before it became one run of
// triangles: every edge a quad strip, every corner a fan and three quad
// strips, each its own primitive. Compiled and called, as the game draws
// bodies, both must give the same pixels.
void stripEdge(const EdgePlacement& edge) {
    const Placement& at = edge.at;
    glBegin(GL_QUAD_STRIP);
    for (int k = 0; k < 5; ++k) {
        const float px = cornerCircle[k][0], py = -cornerCircle[k][1];
        at.normal(px, py, 0);
        glTexCoord2f(0, 0);
        at.vertex(px, py, 0);
        glTexCoord2f(edge.repeat, 0);
        at.vertex(px, py, edge.length);
    }
    glEnd();
}

void fanCorner(const Placement& at) {
    glTexCoord2f(0, 0);
    glBegin(GL_TRIANGLE_FAN);
    const float pole[3] = {0, 50, 0};
    at.point(pole);
    for (int k = 0; k < 5; ++k) at.point(cornerSphere[k]);
    glEnd();
    for (int ring = 0; ring < 3; ++ring) {
        glBegin(GL_QUAD_STRIP);
        for (int k = 0; k < 5; ++k) {
            at.point(cornerSphere[ring * 5 + k]);
            at.point(cornerSphere[(ring + 1) * 5 + k]);
        }
        glEnd();
    }
}

void referenceRoundedBody(const BlockShape& b) {
    const float w = float(b.w), h = float(b.h), l = float(b.l), bottom = 50 - h;
    glBegin(GL_QUADS);
    auto v = [](float x, float y, float z, float s, float t) {
        glTexCoord2f(s, t);
        glVertex3f(x, y, z);
    };
    glNormal3f(0, -1, 0);
    v(-w, -h, l, 0, 0); v(-w, -h, 0, 0, b.rz); v(0, -h, 0, b.rx, b.rz); v(0, -h, l, b.rx, 0);
    glNormal3f(1, 0, 0);
    v(50, -50, l, 0, 0); v(50, bottom, l, 0, b.ry); v(50, bottom, 0, b.rz, b.ry); v(50, -50, 0, b.rz, 0);
    glNormal3f(-1, 0, 0);
    v(-w - 50, -50, 0, 0, 0); v(-w - 50, bottom, 0, 0, b.ry); v(-w - 50, bottom, l, b.rz, b.ry); v(-w - 50, -50, l, b.rz, 0);
    glNormal3f(0, 0, 1);
    v(-w, -50, l + 50, 0, 0); v(-w, bottom, l + 50, 0, b.ry); v(0, bottom, l + 50, b.rx, b.ry); v(0, -50, l + 50, b.rx, 0);
    glNormal3f(0, 0, -1);
    v(0, -50, -50, 0, 0); v(0, bottom, -50, 0, b.ry); v(-w, bottom, -50, b.rx, b.ry); v(-w, -50, -50, b.rx, 0);
    glEnd();
    for (const EdgePlacement& edge : roundedEdges(b)) stripEdge(edge);
    for (const Placement& corner : roundedCorners(b)) fanCorner(corner);
}

// A body drawn while its list compiles may differ by a level from the
// compiled list: the reference is compiled first and then called, and the
// game's bodies are drawn once before the frame that counts.
void compiledReferenceBody(const BlockShape& shape) {
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    referenceRoundedBody(shape);
    glEndList();
    glCallList(list);
    glDeleteLists(list, 1);
}

std::vector<unsigned char> drawBodies(GlContext& gl, bool reference, double eyeX, double eyeY, double eyeZ) {
    gl.beginFrame();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(40, double(gl.width()) / gl.height(), 10, 200000);
    glMatrixMode(GL_MODELVIEW);
    gluLookAt(eyeX, eyeY, eyeZ, 0, -300, 3000, 0, 1, 0);
    glEnable(GL_COLOR_MATERIAL);
    glBindTexture(GL_TEXTURE_2D, textureFrame(TEX_WALL, 0));
    const BlockShape shapes[] = {{400, 300, 600, 1, 1, 1}, {1500, 700, 2200, 2.5f, 1, 3.5f}, {120, 101, 160, 1, 1, 1}};
    int i = 0;
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column, ++i) {
            glPushMatrix();
            glTranslatef(float(1800 - column * 1800), float(-200 * row), float(1500 + row * 2600));
            glColor3f(1, 0.4f + 0.2f * float(i % 3), 1);
            if (reference) compiledReferenceBody(shapes[i % 3]);
            else drawBlockBody(shapes[i % 3], BlockDetail::High);
            glPopMatrix();
        }
    glColor3f(1, 1, 1);
    std::vector<unsigned char> pixels(size_t(gl.width()) * size_t(gl.height()) * 4);
    glReadPixels(0, 0, gl.width(), gl.height(), GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

TEST(BlockGeometry, RoundedBodyAsOneTriangleRunDrawsTheSamePixels) {
    GlContext& gl = sharedGlContext();
    ASSERT_TRUE(gl.ok()) << gl.error();
    createTestTextures();
    buildCornerTables();
    const double eyes[][3] = {{0, 900, -1500}, {-2500, 2500, -800}, {2200, -1800, 500}, {300, 200, 9000}};
    for (const auto& eye : eyes) {
        const auto reference = drawBodies(gl, true, eye[0], eye[1], eye[2]);
        size_t lit = 0;
        for (size_t p = 0; p < reference.size(); p += 4) lit += reference[p] + reference[p + 1] + reference[p + 2] > 0;
        EXPECT_GT(lit, reference.size() / 40) << "the bodies fill part of the window";
        for (bool cached : {true, false}) {
            setBlockCacheEnabled(cached);
            drawBodies(gl, false, eye[0], eye[1], eye[2]);  // compiles the bodies
            const auto game = drawBodies(gl, false, eye[0], eye[1], eye[2]);
            size_t differing = 0;
            for (size_t p = 0; p < game.size(); p += 4)
                differing += game[p] != reference[p] || game[p + 1] != reference[p + 1] || game[p + 2] != reference[p + 2];
            EXPECT_EQ(differing, 0u) << "eye " << eye[0] << ", " << eye[1] << ", " << eye[2]
                                     << (cached ? " (compiled)" : " (immediate)");
        }
        setBlockCacheEnabled(true);
    }
}

}  // namespace
