#pragma once

// A small floating-point RGBA canvas for drawing the game's images in code.
// Shapes are given as signed distance functions (negative inside, in pixels)
// so every edge gets the same one-pixel antialiasing.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct Rgba {
    float r = 0, g = 0, b = 0, a = 1;
};

inline Rgba rgb(float r, float g, float b, float a = 1.0f) { return Rgba{r, g, b, a}; }
Rgba mix(const Rgba& x, const Rgba& y, float t);
Rgba scaled(const Rgba& c, float factor);  // colour times factor, alpha kept

struct Vec2 {
    float x = 0, y = 0;
};

// A signed distance in pixels for a point given in pixel coordinates.
using DistanceField = std::function<float(Vec2)>;

// Antialiased coverage of a shape edge: 1 inside, 0 outside, a pixel-wide ramp.
float edgeCoverage(float distance, float softness = 1.0f);
float clamp01(float v);
float smoothstep(float edge0, float edge1, float v);

class Canvas {
public:
    Canvas(int width, int height, Rgba fill = rgb(0, 0, 0));

    int width() const { return width_; }
    int height() const { return height_; }
    Rgba& at(int x, int y) { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    const Rgba& at(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    Rgba atWrapped(int x, int y) const;

    void fill(Rgba colour);
    // Alpha-blends colour over a pixel with the given coverage.
    void blendPixel(int x, int y, Rgba colour, float coverage);
    // Adds colour times amount to a pixel (a glow or light).
    void addPixel(int x, int y, Rgba colour, float amount);

    // Fills the shape with colour; softness widens the edge ramp (a blur).
    void paint(const DistanceField& shape, Rgba colour, float softness = 1.0f);
    // As paint, but the shape repeats with the canvas size, for tiling textures.
    void paintTiled(const DistanceField& shape, Rgba colour, float softness = 1.0f);
    // Adds a glow falling off outside the shape over radius pixels.
    void glow(const DistanceField& shape, Rgba colour, float radius, float strength = 1.0f);
    void glowTiled(const DistanceField& shape, Rgba colour, float radius, float strength = 1.0f);

    // Calls shade for every pixel centre and stores the result.
    void shade(const std::function<Rgba(int x, int y, Rgba current)>& shader);

    void blit(const Canvas& source, int left, int top);
    Canvas region(int left, int top, int width, int height) const;
    Canvas flippedVertically() const;
    // Scales the canvas to a new size with bilinear sampling (box filter when shrinking).
    Canvas resized(int width, int height) const;
    // A box blur of the given radius, wrapping at the edges when tiled.
    Canvas blurred(int radius, bool tiled) const;

    // 8-bit RGBA PNG.
    bool writePng(const std::string& path) const;

private:
    int width_;
    int height_;
    std::vector<Rgba> pixels_;
};
