#pragma once

// Which boxes can show a pixel: the six planes of the view volume in clip
// space, from the projection and model-view matrices in force. No GL here;
// the caller reads the matrices.

struct ViewVolume {
    // clip = projection * model-view, column-major as OpenGL keeps them.
    double clip[16];

    static ViewVolume of(const double* projection, const double* modelView);

    // True when every corner of the box (min and max corners, in the
    // model-view's coordinates) lies beyond one and the same plane: the
    // clipper would drop each of its triangles, so drawing it or not gives
    // the very same picture.
    bool boxOutside(const double* low, const double* high) const;
};
