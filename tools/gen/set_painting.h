#pragma once

// Painting helpers shared by the texture-set images: the set's material and
// how a symbol is put on it (lit lines for a glowing set, paint on stone).

#include <string>
#include <vector>

#include "canvas.h"
#include "palette.h"

constexpr int kSetTextureSize = 256;

// A square tile of the set's material in the given colour, with a bevelled
// border so repeated tiles read as panels. Tiles seamlessly.
Canvas surface(const Palette& palette, Rgba colour, unsigned seed);

// Puts a symbol in the given colour on a tiling texture.
void emblem(Canvas& canvas, const Palette& palette, const DistanceField& shape, Rgba colour);

// One set slot's image: a single frame for a still slot, several for an
// animated one (written as numbered frames).
struct SetImage {
    std::string name;
    std::vector<Canvas> frames;  // one for a still image
};
// tex0 .. tex13.
std::vector<SetImage> drawBlockTextures(const Palette& palette);
// tex7: the craft's skin.
Canvas drawCraftSkin(const Palette& palette);
