#pragma once

// Text rasterised from the system's DejaVu fonts with stb_truetype, as
// coverage masks that the art code colours, outlines and lights.

#include <memory>
#include <string>
#include <vector>

#include "canvas.h"

// Coverage 0..1 per pixel.
struct Mask {
    int width = 0;
    int height = 0;
    std::vector<float> values;

    Mask() = default;
    Mask(int w, int h) : width(w), height(h), values(static_cast<size_t>(w) * h, 0.0f) {}
    float at(int x, int y) const {
        if (x < 0 || y < 0 || x >= width || y >= height) return 0.0f;
        return values[static_cast<size_t>(y) * width + x];
    }
    float& ref(int x, int y) { return values[static_cast<size_t>(y) * width + x]; }
    Mask blurred(int radius) const;
    Mask dilated(int radius) const;  // grows the shape by radius pixels
};

struct Box {
    float left, top, width, height;
};

class Font {
public:
    static const char* const boldSansPath;
    static const char* const boldMonoPath;

    bool load(const std::string& path);

    // Coverage of one glyph drawn with the baseline at baselineY and the pen at
    // penX, scaled by emPixelsX/emPixelsY (pixels per em), added into mask.
    void drawGlyph(Mask& mask, int codepoint, float penX, float baselineY, float emPixelsX, float emPixelsY) const;
    // Advance and ink extents in em units.
    float advance(int codepoint) const;
    float ascent() const;   // em units, positive
    float descent() const;  // em units, positive
    float capHeight() const;

    // Width of a line in em units, with kerning.
    float lineWidth(const std::string& text) const;
    // Draws text so its capital letters fill the box height and the line is
    // centred; stretchX widens the glyphs (>1) to pre-compensate screens that
    // draw the image squeezed. The text shrinks to fit the width if needed.
    // Returns the box the line took.
    Box drawFitted(Mask& mask, const std::string& text, Box box, float stretchX = 1.0f,
                   float letterSpacingEm = 0.0f) const;

private:
    std::vector<unsigned char> bytes_;
    std::shared_ptr<void> info_;  // stbtt_fontinfo
    float unitsPerEm_ = 1;
};

// Colours a mask into a canvas: a vertical gradient from top to bottom colour
// across the given rows, alpha-blended with the mask coverage.
void fillMask(Canvas& canvas, const Mask& mask, Rgba top, Rgba bottom, float gradientTop, float gradientBottom);
void addMask(Canvas& canvas, const Mask& mask, Rgba colour, float strength);
void blendMask(Canvas& canvas, const Mask& mask, Rgba colour);
