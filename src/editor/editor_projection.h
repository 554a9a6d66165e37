#pragma once

// The editor's camera as plain arithmetic: the same perspective and look-at
// matrices GLU builds, so picking and un-projecting the cursor need no GL
// context. The state loads these very matrices for drawing, so what is
// picked is exactly what is seen.

struct Point3 {
    double x = 0, y = 0, z = 0;
};

struct IntVector3 {
    int x = 0, y = 0, z = 0;
};

// Window coordinates: x to the right, y upward from the bottom row, depth
// 0 at the near plane and 1 at the far plane.
struct WindowPoint {
    double x = 0, y = 0, depth = 0;
};

class ViewProjection {
public:
    // Perspective of `fieldOfViewDegrees` (vertical) over a width x height
    // viewport at (0, 0), looking from eye at target with the given up.
    ViewProjection(double fieldOfViewDegrees, int width, int height, double nearPlane, double farPlane,
                   IntVector3 eye, IntVector3 target, IntVector3 up);

    // As gluProject; false when the point lies in the eye's plane.
    bool project(Point3 world, WindowPoint& window) const;
    // As gluUnProject; false when the matrices cannot be inverted.
    bool unproject(WindowPoint window, Point3& world) const;

    // Column-major, as glLoadMatrixd wants them.
    const double* projectionMatrix() const { return projection_; }
    const double* modelviewMatrix() const { return modelview_; }

private:
    double projection_[16];
    double modelview_[16];
    double combined_[16];
    double inverse_[16];
    bool invertible_ = false;
    int width_, height_;
};
