// The texture sets: gfx/<set>/ holds every set-dependent slot. "neon" is dark
// metal with lit lines, "stone" warm carved stone with painted signs. Slots
// that animate are written as numbered frames (name00.png, name01.png, ...).

#include <cmath>
#include <cstdio>

#include "icons.h"
#include "noise.h"
#include "set_painting.h"
#include "shapes.h"

const Palette& neonPalette() {
    static const Palette palette{"neon", 101, true,
                                 rgb(0.16f, 0.19f, 0.26f), rgb(0.07f, 0.08f, 0.12f), rgb(0.35f, 0.85f, 1.0f),
                                 rgb(0.11f, 0.13f, 0.19f), rgb(0.3f, 0.75f, 0.95f), rgb(0.3f, 0.36f, 0.46f),
                                 rgb(0.2f, 0.8f, 1.0f)};
    return palette;
}

const Palette& stonePalette() {
    static const Palette palette{"stone", 202, false,
                                 rgb(0.62f, 0.56f, 0.47f), rgb(0.3f, 0.26f, 0.21f), rgb(0.78f, 0.7f, 0.55f),
                                 rgb(0.45f, 0.4f, 0.34f), rgb(0.7f, 0.63f, 0.5f), rgb(0.46f, 0.4f, 0.32f),
                                 rgb(0.95f, 0.65f, 0.25f)};
    return palette;
}

namespace {

constexpr int S = kSetTextureSize;

}  // namespace

Canvas surface(const Palette& palette, Rgba colour, unsigned seed) {
    TiledNoise grain(seed, 8), veins(seed + 1, 4);
    Canvas image(S, S);
    image.shade([&](int x, int y, Rgba) {
        float u = x * 8.0f / S, v = y * 8.0f / S;
        float n = grain.fractal(u, v, 4);
        float shade = palette.glowing ? 0.9f + 0.2f * n : 0.75f + 0.45f * n;
        if (!palette.glowing) {
            float vein = std::fabs(veins.fractal(u * 0.5f, v * 0.5f, 5) - 0.5f);
            shade *= 0.8f + 0.2f * smoothstep(0.0f, 0.04f, vein);
        }
        // Bevel: lit along the top and left edges, shaded along the others.
        float fromEdge = std::min({x + 0.5f, y + 0.5f, S - x - 0.5f, S - y - 0.5f});
        float bevel = 1.0f - smoothstep(0.0f, 8.0f, fromEdge);
        bool lit = (x + 0.5f < S - y - 0.5f);
        shade *= 1.0f + (lit ? 0.35f : -0.35f) * bevel;
        return scaled(colour, shade);
    });
    if (palette.glowing) {
        // A thin lit seam inside the bevel.
        auto seam = [](Vec2 p) {
            return std::fabs(boxDistance(p, Vec2{S / 2.0f, S / 2.0f}, Vec2{S / 2.0f - 11, S / 2.0f - 11}, 6)) - 0.8f;
        };
        image.glow(seam, scaled(palette.trim, 0.25f), 3.0f);
        image.paint(seam, mix(colour, palette.trim, 0.6f));
    }
    return image;
}

void emblem(Canvas& canvas, const Palette& palette, const DistanceField& shape, Rgba colour) {
    if (palette.glowing) {
        canvas.glowTiled(shape, scaled(colour, 0.35f), 10.0f);
        canvas.paintTiled(shape, mix(colour, rgb(1, 1, 1), 0.1f));
        canvas.paintTiled([&](Vec2 p) { return shape(p) + 4.0f; }, mix(colour, rgb(1, 1, 1), 0.55f), 3.0f);
        return;
    }
    // Carved and painted: a shadow on the lower right, worn paint.
    canvas.paintTiled([&](Vec2 p) { return shape(Vec2{p.x - 3, p.y - 3}); }, rgb(0, 0, 0, 0.45f), 3.0f);
    canvas.paintTiled(shape, mix(colour, palette.panel, 0.25f));
    TiledNoise wear(palette.seed + 7, 16);
    canvas.shade([&](int x, int y, Rgba c) {
        float inside = edgeCoverage(shape(Vec2{x + 0.5f, y + 0.5f}));
        float w = wear.fractal(x * 16.0f / S, y * 16.0f / S, 3);
        return mix(c, scaled(c, 0.8f + 0.25f * w), inside);
    });
}

namespace {

// Castle-attack wall: glowing bricks that pulse. The wall quad shows the
// image bottom-up, so the frames are flipped before writing.
std::vector<Canvas> wallFrames(const Palette& palette) {
    std::vector<Canvas> frames;
    const int count = 4;
    const float brickWidth = 64, brickHeight = 32;
    Canvas stone = surface(palette, palette.side, palette.seed + 40);
    for (int f = 0; f < count; ++f) {
        float pulse = 0.6f + 0.4f * std::cos(f * 2 * 3.14159265f / count);
        Rgba mortar = scaled(palette.accent, 0.5f + 0.5f * pulse);
        Canvas image(S, S);
        image.shade([&](int x, int y, Rgba) {
            int row = static_cast<int>(y / brickHeight);
            float offset = (row % 2) * brickWidth / 2;
            int col = static_cast<int>(std::floor((x - offset) / brickWidth));
            Vec2 centre{col * brickWidth + offset + brickWidth / 2, row * brickHeight + brickHeight / 2};
            float d = boxDistance(Vec2{x + 0.5f, y + 0.5f}, centre, Vec2{brickWidth / 2 - 4, brickHeight / 2 - 3.5f}, 3);
            float variation = 0.85f + 0.15f * static_cast<float>((row * 7 + col * 13 + 100) % 5) / 4;
            Rgba glow = scaled(mortar, std::exp(-std::max(d, 0.0f) / 6) * 0.6f);
            Rgba brick = scaled(stone.at(x, y), variation);
            return mix(Rgba{mortar.r * 0.6f + glow.r, mortar.g * 0.6f + glow.g, mortar.b * 0.6f + glow.b, 1}, brick,
                       edgeCoverage(d));
        });
        frames.push_back(image.flippedVertically());
    }
    return frames;
}

// Checkpoint doors: the upper half of the image covers the door tops, the
// lower half the door faces. A light runs along the door through the frames.
std::vector<Canvas> checkpointFrames(const Palette& palette) {
    std::vector<Canvas> frames;
    const int count = 6;
    Canvas top = surface(palette, palette.panelDark, palette.seed + 50).resized(S, S / 2);
    Canvas face = surface(palette, palette.side, palette.seed + 51).resized(S, S / 2);
    for (int f = 0; f < count; ++f) {
        Canvas image(S, S);
        image.blit(top, 0, 0);
        image.blit(face, 0, S / 2);
        // Chequered band across the door face.
        image.shade([&](int x, int y, Rgba c) {
            if (y < S / 2 + 22 || y >= S / 2 + 54) return c;
            bool light = ((x / 16) + ((y - S / 2 - 22) / 16)) % 2 == 0;
            return light ? rgb(0.9f, 0.9f, 0.88f) : rgb(0.08f, 0.08f, 0.1f);
        });
        float lightX = (f + 0.5f) * S / count;
        auto bar = [](Vec2 p) { return boxDistance(p, Vec2{S / 2.0f, S / 2.0f + 92}, Vec2{S / 2.0f + 8, 5}, 2); };
        image.paint(bar, scaled(palette.accent, 0.45f));
        image.glowTiled([=](Vec2 p) { return circleDistance(p, Vec2{lightX, S / 2.0f + 92}, 6); }, palette.accent, 18.0f);
        image.paintTiled([=](Vec2 p) { return circleDistance(p, Vec2{lightX, S / 2.0f + 92}, 5); }, rgb(1, 1, 1));
        // The top: a lit rail down the middle.
        image.paint([](Vec2 p) { return boxDistance(p, Vec2{S / 2.0f, S / 4.0f}, Vec2{S / 2.0f + 8, 4}); }, palette.accent);
        frames.push_back(image);
    }
    return frames;
}

// The menu blocks' top face: the set's panel with a ring emblem.
Canvas menuTop(const Palette& palette) {
    Canvas image = surface(palette, palette.panel, palette.seed + 60);
    Vec2 c{S / 2.0f, S / 2.0f};
    emblem(image, palette, [c](Vec2 p) { return ringDistance(p, c, 70, 9); }, palette.accent);
    std::vector<Vec2> star = starPoints(c, 44, 18, 4);
    emblem(image, palette, [&](Vec2 p) { return polygonDistance(p, star); }, palette.trim);
    return image;
}

void writeSet(DataWriter& out, const Palette& palette) {
    std::string folder = "gfx/" + palette.name;
    out.makeDirectory(folder);
    std::vector<SetImage> images = drawBlockTextures(palette);
    images.push_back(SetImage{"menu00", {menuTop(palette)}});
    images.push_back(SetImage{"wall", wallFrames(palette)});
    images.push_back(SetImage{"single", {drawItemTools(palette)}});
    images.push_back(SetImage{"checkp", checkpointFrames(palette)});
    for (const SetImage& image : images) {
        if (image.frames.size() == 1) {
            out.writePng(image.frames[0], folder + "/" + image.name + ".png");
            continue;
        }
        for (size_t i = 0; i < image.frames.size(); ++i) {
            char number[8];
            std::snprintf(number, sizeof number, "%d%d", static_cast<int>(i / 10), static_cast<int>(i % 10));
            out.writePng(image.frames[i], folder + "/" + image.name + number + ".png");
        }
    }
}

}  // namespace

void writeTextureSets(DataWriter& out) {
    writeSet(out, neonPalette());
    writeSet(out, stonePalette());
}
