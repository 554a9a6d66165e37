#include "editor/editor_projection.h"

#include <cmath>
#include <utility>

namespace {

// Column-major 4 x 4: element (row r, column c) is m[c * 4 + r].
void multiply(const double* a, const double* b, double* out) {
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) {
            double sum = 0;
            for (int k = 0; k < 4; ++k) sum += a[k * 4 + r] * b[c * 4 + k];
            out[c * 4 + r] = sum;
        }
}

void transform(const double* m, const double in[4], double out[4]) {
    for (int r = 0; r < 4; ++r) out[r] = m[r] * in[0] + m[4 + r] * in[1] + m[8 + r] * in[2] + m[12 + r] * in[3];
}

// Gauss-Jordan with partial pivoting; false for a singular matrix.
bool invert(const double* m, double* out) {
    double a[4][8];
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            a[r][c] = m[c * 4 + r];
            a[r][c + 4] = r == c ? 1 : 0;
        }
    for (int c = 0; c < 4; ++c) {
        int pivot = c;
        for (int r = c + 1; r < 4; ++r)
            if (std::fabs(a[r][c]) > std::fabs(a[pivot][c])) pivot = r;
        if (a[pivot][c] == 0) return false;
        for (int k = 0; k < 8; ++k) std::swap(a[c][k], a[pivot][k]);
        const double scale = a[c][c];
        for (int k = 0; k < 8; ++k) a[c][k] /= scale;
        for (int r = 0; r < 4; ++r) {
            if (r == c) continue;
            const double factor = a[r][c];
            for (int k = 0; k < 8; ++k) a[r][k] -= factor * a[c][k];
        }
    }
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) out[c * 4 + r] = a[r][c + 4];
    return true;
}

void normalise(double v[3]) {
    const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length == 0) return;
    for (int i = 0; i < 3; ++i) v[i] /= length;
}

void cross(const double a[3], const double b[3], double out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

}  // namespace

ViewProjection::ViewProjection(double fieldOfViewDegrees, int width, int height, double nearPlane,
                               double farPlane, IntVector3 eye, IntVector3 target, IntVector3 up)
    : width_(width), height_(height) {
    // gluPerspective.
    const double aspect = height > 0 ? double(width) / double(height) : 1.0;
    const double f = 1.0 / std::tan(fieldOfViewDegrees * M_PI / 360.0);
    for (double& value : projection_) value = 0;
    projection_[0] = f / aspect;
    projection_[5] = f;
    projection_[10] = (farPlane + nearPlane) / (nearPlane - farPlane);
    projection_[11] = -1;
    projection_[14] = 2 * farPlane * nearPlane / (nearPlane - farPlane);

    // gluLookAt.
    double forward[3] = {double(target.x) - eye.x, double(target.y) - eye.y, double(target.z) - eye.z};
    double upward[3] = {double(up.x), double(up.y), double(up.z)};
    normalise(forward);
    normalise(upward);
    double side[3], trueUp[3];
    cross(forward, upward, side);
    normalise(side);
    cross(side, forward, trueUp);
    double rotation[16] = {side[0], trueUp[0], -forward[0], 0, side[1], trueUp[1], -forward[1], 0,
                           side[2], trueUp[2], -forward[2], 0, 0, 0, 0, 1};
    double translation[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -double(eye.x), -double(eye.y), -double(eye.z), 1};
    multiply(rotation, translation, modelview_);
    multiply(projection_, modelview_, combined_);
    invertible_ = invert(combined_, inverse_);
}

bool ViewProjection::project(Point3 world, WindowPoint& window) const {
    const double in[4] = {world.x, world.y, world.z, 1};
    double clip[4];
    transform(combined_, in, clip);
    if (clip[3] == 0) return false;
    window.x = (clip[0] / clip[3] * 0.5 + 0.5) * width_;
    window.y = (clip[1] / clip[3] * 0.5 + 0.5) * height_;
    window.depth = clip[2] / clip[3] * 0.5 + 0.5;
    return true;
}

bool ViewProjection::unproject(WindowPoint window, Point3& world) const {
    if (!invertible_ || width_ <= 0 || height_ <= 0) return false;
    const double in[4] = {window.x / width_ * 2 - 1, window.y / height_ * 2 - 1, window.depth * 2 - 1, 1};
    double out[4];
    transform(inverse_, in, out);
    if (out[3] == 0) return false;
    world = {out[0] / out[3], out[1] / out[3], out[2] / out[3]};
    return true;
}
