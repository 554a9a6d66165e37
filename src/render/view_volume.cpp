#include "render/view_volume.h"

ViewVolume ViewVolume::of(const double* projection, const double* modelView) {
    ViewVolume volume{};
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row) {
            double sum = 0;
            for (int k = 0; k < 4; ++k) sum += projection[k * 4 + row] * modelView[column * 4 + k];
            volume.clip[column * 4 + row] = sum;
        }
    return volume;
}

bool ViewVolume::boxOutside(const double* low, const double* high) const {
    // Bit 2i: beyond -w on axis i, bit 2i+1: beyond +w; a bit set for all
    // eight corners names a plane they all lie beyond.
    unsigned common = 0x3f;
    for (int corner = 0; corner < 8 && common != 0; ++corner) {
        const double p[3] = {(corner & 1) ? high[0] : low[0], (corner & 2) ? high[1] : low[1],
                             (corner & 4) ? high[2] : low[2]};
        double c[4];
        for (int row = 0; row < 4; ++row)
            c[row] = clip[row] * p[0] + clip[4 + row] * p[1] + clip[8 + row] * p[2] + clip[12 + row];
        unsigned outside = 0;
        for (int axis = 0; axis < 3; ++axis) {
            if (c[axis] < -c[3]) outside |= 1u << (2 * axis);
            if (c[axis] > c[3]) outside |= 2u << (2 * axis);
        }
        common &= outside;
    }
    return common != 0;
}
