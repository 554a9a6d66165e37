#pragma once

#include <cstdint>

#include "level/level.h"

// The body of a block below its top face, in block-local coordinates: the
// footprint spans x -w..0, y -h..0, z 0..l. Emits immediate-mode GL with
// the side texture's coordinates; the caller binds the texture.
struct BlockShape {
    int32_t w, h, l;
    float rx, ry, rz;  // texture repeats along x, y and z
};

void emitPlainBody(const BlockShape& shape);      // five quads
void emitChamferedBody(const BlockShape& shape);  // seventeen quads, eight corner triangles
void emitRoundedBody(const BlockShape& shape);    // faces, rounded edges and corners
void emitTopFace(const BlockShape& shape);        // the top quad alone
// The top quad moved to a block's corner: the glow pass draws its tops in
// world coordinates, one after another without a matrix change between.
void emitTopQuadAt(const BlockShape& shape, const BlockCorner& at);
