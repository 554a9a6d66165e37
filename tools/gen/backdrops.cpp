// Space backdrops (space1..space4 behind the tracks, spacemenu as the main
// menu's sky box) and the effect sprite sheet efx01.

#include <cmath>

#include "data_tree.h"
#include "noise.h"
#include "shapes.h"

namespace {


struct NebulaStyle {
    unsigned seed;
    Rgba deep;    // the darkest gas
    Rgba bright;  // the lit gas
    Rgba hot;     // the brightest knots
    float density;
};

// Brightness of the gas at a point of the tiled noise field (coordinates in
// lattice cells), with a little domain warp so the clouds swirl.
float gas(const TiledNoise& noise, const TiledNoise& warp, float x, float y, float density) {
    float wx = warp.fractal(x, y, 4) - 0.5f, wy = warp.fractal(x + 17.3f, y + 9.1f, 4) - 0.5f;
    float n = noise.fractal(x + wx * 2.5f, y + wy * 2.5f, 6, 0.55f);
    return smoothstep(1.0f - density, 1.0f, n);
}

// Stars scattered over the image; x wraps so a sky box has no seam.
void addStars(Canvas& image, Random& random, int count) {
    for (int i = 0; i < count; ++i) {
        float x = random.range(0, image.width()), y = random.range(0, image.height());
        float size = random.unit();
        float brightness = 0.35f + 0.65f * random.unit();
        Rgba colour = mix(rgb(0.7f, 0.8f, 1.0f), rgb(1.0f, 0.85f, 0.7f), random.unit());
        float radius = 0.6f + size * size * 1.6f;
        bool flare = size > 0.97f;
        int reach = static_cast<int>(std::ceil(radius * (flare ? 8 : 3)));
        for (int dy = -reach; dy <= reach; ++dy)
            for (int dx = -reach; dx <= reach; ++dx) {
                int px = static_cast<int>(x) + dx, py = static_cast<int>(y) + dy;
                if (py < 0 || py >= image.height()) continue;
                px = (px % image.width() + image.width()) % image.width();
                float fx = px + 0.5f - x, fy = py + 0.5f - y;
                if (fx > image.width() / 2.0f) fx -= image.width();
                if (fx < -image.width() / 2.0f) fx += image.width();
                float d2 = (fx * fx + fy * fy) / (radius * radius);
                float light = std::exp(-d2 * 1.5f);
                if (flare) {
                    light += 0.5f * std::exp(-std::fabs(fy) / 0.6f) * std::exp(-std::fabs(fx) / (radius * 4));
                    light += 0.5f * std::exp(-std::fabs(fx) / 0.6f) * std::exp(-std::fabs(fy) / (radius * 4));
                }
                image.addPixel(px, py, colour, brightness * light);
            }
    }
}

// Draws gas and stars; `period` sets how many noise cells span the width.
Canvas drawSpace(int width, int height, const NebulaStyle& style, int period) {
    TiledNoise noise(style.seed, period), warp(style.seed + 101, period), knots(style.seed + 202, period * 2);
    float cellsPerPixel = static_cast<float>(period) / width;
    Canvas image(width, height);
    image.shade([&](int x, int y, Rgba) {
        float nx = x * cellsPerPixel, ny = y * cellsPerPixel;
        float g = gas(noise, warp, nx, ny, style.density);
        float k = smoothstep(0.6f, 0.95f, knots.fractal(nx * 2, ny * 2, 4)) * g;
        Rgba c = mix(rgb(0.0f, 0.0f, 0.02f), style.deep, clamp01(g * 1.6f));
        c = mix(c, style.bright, clamp01(g * g * 1.4f));
        c = mix(c, style.hot, clamp01(k));
        return c;
    });
    Random random(style.seed * 7 + 3);
    addStars(image, random, width * height / 900);
    return image;
}

// A ringed planet lit from the upper left, for one of the backdrops.
void addPlanet(Canvas& image, Vec2 centre, float radius, Rgba colour) {
    TiledNoise bands(77, 8);
    image.shade([&](int x, int y, Rgba current) {
        Vec2 p{x + 0.5f, y + 0.5f};
        float d = length(p - centre);
        if (d > radius + 1) {
            float rim = std::exp(-(d - radius) / (radius * 0.06f)) * 0.5f;
            return Rgba{current.r + colour.r * rim, current.g + colour.g * rim, current.b + colour.b * rim, 1};
        }
        float nz = std::sqrt(std::max(0.0f, 1 - (d / radius) * (d / radius)));
        float nx = (p.x - centre.x) / radius, ny = (p.y - centre.y) / radius;
        float light = clamp01(-0.6f * nx - 0.5f * ny + 0.6f * nz);
        float stripes = 0.75f + 0.25f * bands.fractal(ny * 6 + 3, nx * 0.7f + 3, 3);
        Rgba surface = scaled(colour, light * stripes + 0.03f);
        return mix(current, surface, edgeCoverage(d - radius));
    });
}

}  // namespace

namespace {

Canvas drawEffectSprites() {
    // Five tiles side by side, each shown as a square: four smoke puffs for
    // damage and flames, and a bright flash for jumps. Soft round light on
    // black, so additive drawing shows no edge.
    constexpr int kWidth = 512, kHeight = 128;
    Canvas sheet(kWidth, kHeight);
    for (int tile = 0; tile < 5; ++tile) {
        TiledNoise noise(900 + tile, 4);
        float left = tile * kWidth / 5.0f, tileWidth = kWidth / 5.0f;
        for (int y = 0; y < kHeight; ++y)
            for (int x = static_cast<int>(left); x < static_cast<int>(left + tileWidth); ++x) {
                float u = (x + 0.5f - left) / tileWidth * 2 - 1, v = (y + 0.5f) / kHeight * 2 - 1;
                float r = std::sqrt(u * u + v * v);
                float light;
                if (tile < 4) {
                    float billow = noise.fractal(u * 2 + 4, v * 2 + 4, 4);
                    float edge = 0.7f + 0.25f * billow;
                    light = std::pow(clamp01(1 - smoothstep(0.0f, edge, r)), 1.3f) * (0.5f + 0.6f * billow);
                } else {
                    float angle = std::atan2(v, u);
                    float rays = 0.5f + 0.5f * std::cos(angle * 8);
                    light = std::exp(-r * r * 5) + 0.5f * rays * std::exp(-r * 2.5f) * clamp01(1 - r);
                }
                light *= clamp01((1 - r) * 6);  // nothing reaches the tile border
                sheet.at(x, y) = rgb(light, light, light);
            }
    }
    alphaFromBrightness(sheet);
    return sheet;
}

}  // namespace

void writeBackdrops(DataWriter& out) {
    const NebulaStyle blue{11, rgb(0.05f, 0.07f, 0.25f), rgb(0.2f, 0.35f, 0.75f), rgb(0.75f, 0.85f, 1.0f), 0.65f};
    const NebulaStyle ember{23, rgb(0.22f, 0.04f, 0.06f), rgb(0.8f, 0.3f, 0.12f), rgb(1.0f, 0.85f, 0.5f), 0.5f};
    const NebulaStyle teal{37, rgb(0.02f, 0.15f, 0.15f), rgb(0.1f, 0.6f, 0.5f), rgb(0.7f, 1.0f, 0.85f), 0.5f};
    const NebulaStyle violet{41, rgb(0.15f, 0.03f, 0.22f), rgb(0.6f, 0.2f, 0.7f), rgb(1.0f, 0.7f, 0.95f), 0.55f};
    const NebulaStyle menu{53, rgb(0.06f, 0.04f, 0.2f), rgb(0.35f, 0.2f, 0.7f), rgb(0.5f, 0.9f, 1.0f), 0.5f};

    out.writePng(drawSpace(1024, 1024, blue, 4), "gfx/space1.png");
    out.writePng(drawSpace(1024, 1024, ember, 4), "gfx/space2.png");
    Canvas space3 = drawSpace(1024, 1024, teal, 4);
    addPlanet(space3, Vec2{760, 300}, 150, rgb(0.55f, 0.8f, 0.75f));
    out.writePng(space3, "gfx/space3.png");
    out.writePng(drawSpace(1024, 1024, violet, 4), "gfx/space4.png");
    // The sky box wraps the image once around four walls, so it must join
    // seamlessly left to right; 4:1 keeps each wall's pixels square.
    out.writePng(drawSpace(2048, 512, menu, 8), "gfx/spacemenu.png");
    out.writePng(drawEffectSprites(), "gfx/efx01.png");
}
