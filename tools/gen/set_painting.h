#pragma once

// Painting helpers shared by the texture-set images: the set's material and
// how a symbol is put on it (lit lines for a glowing set, paint on stone).

#include "canvas.h"
#include "palette.h"

constexpr int kSetTextureSize = 256;

// A square tile of the set's material in the given colour, with a bevelled
// border so repeated tiles read as panels. Tiles seamlessly.
Canvas surface(const Palette& palette, Rgba colour, unsigned seed);

// Puts a symbol in the given colour on a tiling texture.
void emblem(Canvas& canvas, const Palette& palette, const DistanceField& shape, Rgba colour);

// Block textures by slot name ("tex0" .. "tex13"); frame counts 0 for still.
struct SetImage {
    std::string name;
    std::vector<Canvas> frames;  // one for a still image
};
std::vector<SetImage> drawBlockTextures(const Palette& palette);
