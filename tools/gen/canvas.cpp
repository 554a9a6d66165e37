#include "canvas.h"

#include <stb_image_write.h>

#include <algorithm>
#include <cmath>

Rgba mix(const Rgba& x, const Rgba& y, float t) {
    return Rgba{x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t,
                x.a + (y.a - x.a) * t};
}

Rgba scaled(const Rgba& c, float factor) { return Rgba{c.r * factor, c.g * factor, c.b * factor, c.a}; }

float clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

float smoothstep(float edge0, float edge1, float v) {
    float t = clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3 - 2 * t);
}

float edgeCoverage(float distance, float softness) {
    if (softness < 1.0f) softness = 1.0f;
    return clamp01(0.5f - distance / softness);
}

Canvas::Canvas(int width, int height, Rgba fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {}

Rgba Canvas::atWrapped(int x, int y) const {
    x %= width_;
    y %= height_;
    if (x < 0) x += width_;
    if (y < 0) y += height_;
    return at(x, y);
}

void Canvas::fill(Rgba colour) { std::fill(pixels_.begin(), pixels_.end(), colour); }

void Canvas::blendPixel(int x, int y, Rgba colour, float coverage) {
    float t = clamp01(coverage * colour.a);
    if (t <= 0) return;
    Rgba& p = at(x, y);
    p.r += (colour.r - p.r) * t;
    p.g += (colour.g - p.g) * t;
    p.b += (colour.b - p.b) * t;
    p.a = p.a + (1 - p.a) * t;
}

void Canvas::addPixel(int x, int y, Rgba colour, float amount) {
    if (amount <= 0) return;
    Rgba& p = at(x, y);
    p.r += colour.r * amount;
    p.g += colour.g * amount;
    p.b += colour.b * amount;
}

namespace {

// The distance of the nearest copy of a shape repeated over the canvas.
float tiledDistance(const DistanceField& shape, Vec2 p, int width, int height) {
    float best = 1e30f;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            best = std::min(best, shape(Vec2{p.x + dx * width, p.y + dy * height}));
    return best;
}

}  // namespace

void Canvas::paint(const DistanceField& shape, Rgba colour, float softness) {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            blendPixel(x, y, colour, edgeCoverage(shape(Vec2{x + 0.5f, y + 0.5f}), softness));
}

void Canvas::paintTiled(const DistanceField& shape, Rgba colour, float softness) {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            float d = tiledDistance(shape, Vec2{x + 0.5f, y + 0.5f}, width_, height_);
            blendPixel(x, y, colour, edgeCoverage(d, softness));
        }
}

namespace {

float glowFalloff(float distance, float radius) {
    if (distance <= 0) return 1.0f;
    float t = distance / radius;
    return std::exp(-t * t * 2.5f);
}

}  // namespace

void Canvas::glow(const DistanceField& shape, Rgba colour, float radius, float strength) {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            addPixel(x, y, colour, strength * glowFalloff(shape(Vec2{x + 0.5f, y + 0.5f}), radius));
}

void Canvas::glowTiled(const DistanceField& shape, Rgba colour, float radius, float strength) {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            float d = tiledDistance(shape, Vec2{x + 0.5f, y + 0.5f}, width_, height_);
            addPixel(x, y, colour, strength * glowFalloff(d, radius));
        }
}

void Canvas::shade(const std::function<Rgba(int, int, Rgba)>& shader) {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) at(x, y) = shader(x, y, at(x, y));
}

void Canvas::blit(const Canvas& source, int left, int top) {
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x) {
            int tx = left + x, ty = top + y;
            if (tx >= 0 && ty >= 0 && tx < width_ && ty < height_) at(tx, ty) = source.at(x, y);
        }
}

Canvas Canvas::region(int left, int top, int width, int height) const {
    Canvas out(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) out.at(x, y) = atWrapped(left + x, top + y);
    return out;
}

Canvas Canvas::flippedVertically() const {
    Canvas out(width_, height_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) out.at(x, y) = at(x, height_ - 1 - y);
    return out;
}

Canvas Canvas::resized(int width, int height) const {
    Canvas out(width, height);
    float sx = static_cast<float>(width_) / width, sy = static_cast<float>(height_) / height;
    int boxX = std::max(1, static_cast<int>(std::ceil(sx))), boxY = std::max(1, static_cast<int>(std::ceil(sy)));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            Rgba sum = rgb(0, 0, 0, 0);
            int count = 0;
            for (int j = 0; j < boxY; ++j)
                for (int i = 0; i < boxX; ++i) {
                    float fx = (x + (i + 0.5f) / boxX) * sx - 0.5f;
                    float fy = (y + (j + 0.5f) / boxY) * sy - 0.5f;
                    int x0 = static_cast<int>(std::floor(fx)), y0 = static_cast<int>(std::floor(fy));
                    float tx = fx - x0, ty = fy - y0;
                    auto clampedAt = [&](int px, int py) {
                        return at(std::clamp(px, 0, width_ - 1), std::clamp(py, 0, height_ - 1));
                    };
                    Rgba top = mix(clampedAt(x0, y0), clampedAt(x0 + 1, y0), tx);
                    Rgba bottom = mix(clampedAt(x0, y0 + 1), clampedAt(x0 + 1, y0 + 1), tx);
                    Rgba v = mix(top, bottom, ty);
                    sum.r += v.r, sum.g += v.g, sum.b += v.b, sum.a += v.a;
                    ++count;
                }
            out.at(x, y) = Rgba{sum.r / count, sum.g / count, sum.b / count, sum.a / count};
        }
    return out;
}

Canvas Canvas::blurred(int radius, bool tiled) const {
    auto pass = [&](const Canvas& in, bool horizontal) {
        Canvas out(in.width(), in.height());
        for (int y = 0; y < in.height(); ++y)
            for (int x = 0; x < in.width(); ++x) {
                Rgba sum = rgb(0, 0, 0, 0);
                int count = 0;
                for (int k = -radius; k <= radius; ++k) {
                    int px = horizontal ? x + k : x, py = horizontal ? y : y + k;
                    if (!tiled && (px < 0 || py < 0 || px >= in.width() || py >= in.height())) continue;
                    Rgba v = in.atWrapped(px, py);
                    sum.r += v.r, sum.g += v.g, sum.b += v.b, sum.a += v.a;
                    ++count;
                }
                out.at(x, y) = Rgba{sum.r / count, sum.g / count, sum.b / count, sum.a / count};
            }
        return out;
    };
    return pass(pass(*this, true), false);
}

bool Canvas::writePng(const std::string& path) const {
    std::vector<uint8_t> bytes(static_cast<size_t>(width_) * height_ * 4);
    auto toByte = [](float v) { return static_cast<uint8_t>(std::lround(clamp01(v) * 255.0f)); };
    for (size_t i = 0; i < pixels_.size(); ++i) {
        bytes[i * 4 + 0] = toByte(pixels_[i].r);
        bytes[i * 4 + 1] = toByte(pixels_[i].g);
        bytes[i * 4 + 2] = toByte(pixels_[i].b);
        bytes[i * 4 + 3] = toByte(pixels_[i].a);
    }
    return stbi_write_png(path.c_str(), width_, height_, 4, bytes.data(), width_ * 4) != 0;
}
