#include "text.h"

#include <stb_truetype.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

const char* const Font::boldSansPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
const char* const Font::boldMonoPath = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf";

namespace {

const stbtt_fontinfo* infoOf(const std::shared_ptr<void>& info) {
    return static_cast<const stbtt_fontinfo*>(info.get());
}

}  // namespace

bool Font::load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    auto info = std::make_shared<stbtt_fontinfo>();
    if (bytes_.empty() || !stbtt_InitFont(info.get(), bytes_.data(), stbtt_GetFontOffsetForIndex(bytes_.data(), 0)))
        return false;
    info_ = info;
    unitsPerEm_ = 1.0f / stbtt_ScaleForMappingEmToPixels(info.get(), 1.0f);
    return true;
}

float Font::advance(int codepoint) const {
    int advanceWidth = 0, leftBearing = 0;
    stbtt_GetCodepointHMetrics(infoOf(info_), codepoint, &advanceWidth, &leftBearing);
    return advanceWidth / unitsPerEm_;
}

float Font::ascent() const {
    int a, d, gap;
    stbtt_GetFontVMetrics(infoOf(info_), &a, &d, &gap);
    return a / unitsPerEm_;
}

float Font::descent() const {
    int a, d, gap;
    stbtt_GetFontVMetrics(infoOf(info_), &a, &d, &gap);
    return -d / unitsPerEm_;
}

float Font::capHeight() const {
    int x0, y0, x1, y1;
    if (!stbtt_GetCodepointBox(infoOf(info_), 'H', &x0, &y0, &x1, &y1)) return 0.73f;
    return y1 / unitsPerEm_;
}

void Font::drawGlyph(Mask& mask, int codepoint, float penX, float baselineY, float emPixelsX,
                     float emPixelsY) const {
    const stbtt_fontinfo* info = infoOf(info_);
    float scaleX = emPixelsX / unitsPerEm_, scaleY = emPixelsY / unitsPerEm_;
    float shiftX = penX - std::floor(penX), shiftY = baselineY - std::floor(baselineY);
    int width = 0, height = 0, offsetX = 0, offsetY = 0;
    unsigned char* bitmap = stbtt_GetCodepointBitmapSubpixel(info, scaleX, scaleY, shiftX, shiftY, codepoint,
                                                             &width, &height, &offsetX, &offsetY);
    if (!bitmap) return;
    int left = static_cast<int>(std::floor(penX)) + offsetX;
    int top = static_cast<int>(std::floor(baselineY)) + offsetY;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            int mx = left + x, my = top + y;
            if (mx < 0 || my < 0 || mx >= mask.width || my >= mask.height) continue;
            float& v = mask.ref(mx, my);
            v = std::min(1.0f, v + bitmap[y * width + x] / 255.0f);
        }
    stbtt_FreeBitmap(bitmap, nullptr);
}

float Font::lineWidth(const std::string& text) const {
    float width = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        width += advance(static_cast<unsigned char>(text[i]));
        if (i + 1 < text.size())
            width += stbtt_GetCodepointKernAdvance(infoOf(info_), static_cast<unsigned char>(text[i]),
                                                   static_cast<unsigned char>(text[i + 1])) /
                     unitsPerEm_;
    }
    return width;
}

Box Font::drawFitted(Mask& mask, const std::string& text, Box box, float stretchX, float letterSpacingEm) const {
    float emY = box.height / capHeight();
    float widthEm = lineWidth(text) + letterSpacingEm * (text.size() > 0 ? text.size() - 1 : 0);
    float emX = emY * stretchX;
    if (widthEm * emX > box.width) {
        float shrink = box.width / (widthEm * emX);
        emX *= shrink;
        emY *= shrink;
    }
    float pen = box.left + (box.width - widthEm * emX) / 2;
    float baseline = box.top + box.height / 2 + capHeight() * emY / 2;
    Box taken{pen, baseline - capHeight() * emY, widthEm * emX, capHeight() * emY};
    for (size_t i = 0; i < text.size(); ++i) {
        int c = static_cast<unsigned char>(text[i]);
        drawGlyph(mask, c, pen, baseline, emX, emY);
        pen += (advance(c) + letterSpacingEm) * emX;
        if (i + 1 < text.size())
            pen += stbtt_GetCodepointKernAdvance(infoOf(info_), c, static_cast<unsigned char>(text[i + 1])) /
                   unitsPerEm_ * emX;
    }
    return taken;
}

Mask Mask::blurred(int radius) const {
    auto pass = [radius](const Mask& in, bool horizontal) {
        Mask out(in.width, in.height);
        for (int y = 0; y < in.height; ++y)
            for (int x = 0; x < in.width; ++x) {
                float sum = 0;
                for (int k = -radius; k <= radius; ++k) sum += horizontal ? in.at(x + k, y) : in.at(x, y + k);
                out.ref(x, y) = sum / (2 * radius + 1);
            }
        return out;
    };
    // Two box passes approximate a gaussian.
    return pass(pass(pass(pass(*this, true), false), true), false);
}

Mask Mask::dilated(int radius) const {
    Mask out(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            float best = 0;
            for (int dy = -radius; dy <= radius; ++dy)
                for (int dx = -radius; dx <= radius; ++dx) {
                    float d = std::sqrt(static_cast<float>(dx * dx + dy * dy));
                    if (d > radius + 0.5f) continue;
                    float falloff = clamp01(radius + 0.5f - d);
                    best = std::max(best, at(x + dx, y + dy) * falloff);
                }
            out.ref(x, y) = best;
        }
    return out;
}

void fillMask(Canvas& canvas, const Mask& mask, Rgba top, Rgba bottom, float gradientTop, float gradientBottom) {
    for (int y = 0; y < std::min(canvas.height(), mask.height); ++y) {
        float t = clamp01((y - gradientTop) / std::max(1.0f, gradientBottom - gradientTop));
        Rgba colour = mix(top, bottom, t);
        for (int x = 0; x < std::min(canvas.width(), mask.width); ++x) canvas.blendPixel(x, y, colour, mask.at(x, y));
    }
}

void addMask(Canvas& canvas, const Mask& mask, Rgba colour, float strength) {
    for (int y = 0; y < std::min(canvas.height(), mask.height); ++y)
        for (int x = 0; x < std::min(canvas.width(), mask.width); ++x)
            canvas.addPixel(x, y, colour, strength * mask.at(x, y));
}

void blendMask(Canvas& canvas, const Mask& mask, Rgba colour) { fillMask(canvas, mask, colour, colour, 0, 1); }
