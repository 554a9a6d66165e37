#pragma once

#include "render/block_geometry.h"
#include "render/track_rules.h"

// Draws the body of a block shape at a detail level. The geometry of a
// shape never changes, so each (shape, detail) pair is compiled into a
// display list the first time it is drawn and called from then on.
void drawBlockBody(const BlockShape& shape, BlockDetail detail);

// Deletes every compiled body (a new GL context, or to bound memory).
void clearBlockCache();
// When false every body is emitted in immediate mode (for comparisons).
void setBlockCacheEnabled(bool enabled);
