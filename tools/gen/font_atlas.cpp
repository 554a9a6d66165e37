// gfx/font1.png: 16 x 8 cells, character c in cell c - 32, white on black.
// The game draws a cell as a square glyph but advances only three quarters of
// its width, so each glyph is centred in the left three quarters of its cell.

#include <algorithm>


#include "data_tree.h"
#include "text.h"

namespace {

constexpr int kCell = 32;
constexpr int kColumns = 16;
constexpr int kRows = 8;
constexpr float kAdvanceShare = 0.0146f / 0.0195f;  // advance / glyph width on screen
constexpr float kStretchX = 1.25f;                   // the mono face is narrow for these cells

}  // namespace

void writeFont(DataWriter& out) {
    Font font;
    if (!font.load(Font::boldMonoPath)) {
        out.fail(std::string("cannot read the font ") + Font::boldMonoPath);
        return;
    }
    // Fit the tallest and deepest printable glyphs between one-pixel margins.
    float above = font.ascent(), below = font.descent();
    float em = (kCell - 2.0f) / (above + below);
    float baseline = 1.0f + above * em;
    float emX = em * kStretchX;
    float box = kCell * kAdvanceShare;

    Mask mask(kCell * kColumns, kCell * kRows);
    for (int c = 33; c <= 126; ++c) {
        int cell = c - 32;
        float left = (cell % kColumns) * kCell;
        float top = (cell / kColumns) * kCell;
        float pen = left + (box - font.advance(c) * emX) / 2;
        font.drawGlyph(mask, c, pen, top + baseline, emX, em);
    }
    Canvas image(mask.width, mask.height, rgb(0, 0, 0, 0));
    fillMask(image, mask, rgb(1, 1, 1), rgb(1, 1, 1), 0, 1);
    alphaFromBrightness(image);
    out.writePng(image, "gfx/font1.png");
}
