// The block surfaces of a texture set, tex0 .. tex13. On a block top the
// image's first row lies at the far end and its left column on the player's
// left, so "forward" is up in the image and "left" is left. Every image tiles,
// since blocks repeat it once per 600 units.

#include <cmath>

#include "noise.h"
#include "set_painting.h"
#include "shapes.h"
#include "signal_colours.h"

namespace {

constexpr int S = kSetTextureSize;
constexpr float kPi = 3.14159265f;

std::vector<Vec2> chevronPoints(Vec2 tip, float halfWidth, float depth, float thickness) {
    return {tip, {tip.x + halfWidth, tip.y + depth}, {tip.x + halfWidth, tip.y + depth + thickness},
            {tip.x, tip.y + thickness}, {tip.x - halfWidth, tip.y + depth + thickness},
            {tip.x - halfWidth, tip.y + depth}};
}

// Turns an up-pointing shape to point the other ways.
std::vector<Vec2> turnedAboutCentre(std::vector<Vec2> points, float radians) {
    Vec2 centre{S / 2.0f, S / 2.0f};
    for (Vec2& p : points) p = centre + rotated(p - centre, radians);
    return points;
}

Canvas plainTop(const Palette& palette) {
    Canvas image = surface(palette, palette.panel, palette.seed);
    for (float x : {26.0f, S - 26.0f})
        for (float y : {26.0f, S - 26.0f})
            emblem(image, palette, [=](Vec2 p) { return circleDistance(p, Vec2{x, y}, 5); }, palette.trim);
    return image;
}

// Speed: two chevrons that run forward through the frames.
std::vector<Canvas> speedTop(const Palette& palette) {
    std::vector<Canvas> frames;
    const int count = 8;
    for (int f = 0; f < count; ++f) {
        Canvas image = surface(palette, mix(palette.panel, kSpeed, 0.12f), palette.seed + 1);
        float shift = -f * (S / 2.0f) / count;
        for (int k = 0; k < 2; ++k) {
            auto c = chevronPoints(Vec2{S / 2.0f, 40 + k * S / 2.0f + shift}, 78, 62, 34);
            emblem(image, palette, [c](Vec2 p) { return polygonDistance(p, c); }, kSpeed);
        }
        frames.push_back(image);
    }
    return frames;
}

// Slow: braking bars across the track.
Canvas slowTop(const Palette& palette) {
    Canvas image = surface(palette, mix(palette.panel, kSlow, 0.12f), palette.seed + 2);
    for (int k = 0; k < 3; ++k) {
        float y = S * (k + 0.5f) / 3;
        emblem(image, palette, [=](Vec2 p) { return boxDistance(p, Vec2{S / 2.0f, y}, Vec2{88, 13}, 5); }, kSlow);
    }
    return image;
}

// Left and right: two arrows pointing where the block pushes.
Canvas sideArrowTop(const Palette& palette, bool left) {
    Canvas image = surface(palette, mix(palette.panel, kPush, 0.1f), palette.seed + (left ? 3 : 4));
    float turn = left ? -kPi / 2 : kPi / 2;
    // Two chevrons one behind the other, then turned to point sideways.
    for (float tipY : {44.0f, 124.0f}) {
        auto c = turnedAboutCentre(chevronPoints(Vec2{S / 2.0f, tipY}, 74, 58, 32), turn);
        emblem(image, palette, [c](Vec2 p) { return polygonDistance(p, c); }, kPush);
    }
    return image;
}

// Hurt: hazard stripes whose light throbs through the frames.
std::vector<Canvas> hurtTop(const Palette& palette) {
    std::vector<Canvas> frames;
    const int count = 6;
    for (int f = 0; f < count; ++f) {
        float pulse = 0.55f + 0.45f * std::cos(f * 2 * kPi / count);
        Canvas image = surface(palette, mix(palette.panelDark, kHurt, 0.15f), palette.seed + 5);
        auto stripes = [](Vec2 p) {
            float period = S / 4.0f;  // four stripes per tile keeps the diagonal seamless
            float t = std::fmod(p.x + p.y, period);
            if (t < 0) t += period;
            return std::fabs(t - period / 2) - period / 4.6f;
        };
        Rgba stripe = mix(scaled(kHurt, 0.35f), kHurt, pulse);
        Canvas layer = image;
        emblem(layer, palette, stripes, stripe);
        // Keep a clean border so the stripes sit inside the panel.
        image.shade([&](int x, int y, Rgba c) {
            float inside = boxDistance(Vec2{x + 0.5f, y + 0.5f}, Vec2{S / 2.0f, S / 2.0f}, Vec2{S / 2.0f - 14, S / 2.0f - 14}, 6);
            return mix(c, layer.at(x, y), edgeCoverage(inside));
        });
        frames.push_back(image);
    }
    return frames;
}

// Ice: pale facets with bright crystal edges (a tiling cell pattern).
Canvas iceTop(const Palette& palette) {
    Random random(palette.seed + 6);
    std::vector<Vec2> seeds;
    for (int i = 0; i < 22; ++i) seeds.push_back(Vec2{random.range(0, S), random.range(0, S)});
    Canvas image = surface(palette, mix(palette.panel, kIce, 0.55f), palette.seed + 6);
    image.shade([&](int x, int y, Rgba c) {
        float nearest = 1e9f, second = 1e9f;
        int owner = 0;
        for (size_t i = 0; i < seeds.size(); ++i)
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    float d = length(Vec2{x + 0.5f - seeds[i].x - dx * S, y + 0.5f - seeds[i].y - dy * S});
                    if (d < nearest) {
                        second = nearest;
                        nearest = d;
                        owner = static_cast<int>(i);
                    } else if (d < second) {
                        second = d;
                    }
                }
        float edge = 1.0f - smoothstep(0.0f, 3.5f, second - nearest);
        float facet = 0.85f + 0.15f * ((owner * 37) % 10) / 10.0f;
        Rgba base = scaled(c, facet);
        return mix(base, rgb(0.95f, 1.0f, 1.0f), edge * (palette.glowing ? 0.9f : 0.6f));
    });
    return image;
}

// Crazy: a purple swirl that turns the world over.
Canvas crazyTop(const Palette& palette) {
    Canvas image = surface(palette, mix(palette.panelDark, kCrazy, 0.2f), palette.seed + 9);
    Vec2 centre{S / 2.0f, S / 2.0f};
    auto spiral = [centre](Vec2 p) {
        Vec2 d = p - centre;
        float r = length(d);
        float angle = std::atan2(d.y, d.x);
        float arms = std::fmod(angle * 3 / (2 * kPi) + std::log(r + 1) * 1.6f + 100.0f, 1.0f);
        float band = std::fabs(arms - 0.5f) - 0.2f;
        return intersect(band * r * 0.9f, circleDistance(p, centre, 104));
    };
    emblem(image, palette, spiral, kCrazy);
    emblem(image, palette, [centre](Vec2 p) { return circleDistance(p, centre, 12); }, rgb(1, 0.8f, 1));
    return image;
}

// Heal: a cross on a soft green panel.
Canvas healTop(const Palette& palette) {
    Canvas image = surface(palette, mix(palette.panel, kHeal, 0.18f), palette.seed + 10);
    Vec2 c{S / 2.0f, S / 2.0f};
    auto cross = [c](Vec2 p) { return unite(boxDistance(p, c, Vec2{74, 24}, 6), boxDistance(p, c, Vec2{24, 74}, 6)); };
    emblem(image, palette, [c, cross](Vec2 p) { return std::fabs(cross(p)) - 5; }, kHeal);
    emblem(image, palette, [cross](Vec2 p) { return cross(p) + 12; }, rgb(0.9f, 1.0f, 0.92f));
    return image;
}

// The jump symbol: rings on the pad with an arrow rising from them.
void jumpSymbol(Canvas& image, const Palette& palette, Rgba rings, Rgba arrow) {
    Vec2 c{S / 2.0f, S / 2.0f + 14};
    for (float r : {36.0f, 64.0f, 92.0f})
        emblem(image, palette, [=](Vec2 p) { return ringDistance(p, c, r, 7); }, scaled(rings, 1.15f - r / 200));
    std::vector<Vec2> head = {{S / 2.0f, 28}, {S / 2.0f + 46, 84}, {S / 2.0f - 46, 84}};
    emblem(image, palette, [head](Vec2 p) {
        return unite(polygonDistance(p, head), boxDistance(p, Vec2{S / 2.0f, 118}, Vec2{15, 36}, 3));
    }, arrow);
}

Canvas jumpTop(const Palette& palette) {
    Canvas image = surface(palette, mix(palette.panel, kJump, 0.14f), palette.seed + 11);
    jumpSymbol(image, palette, kJump, rgb(1.0f, 0.9f, 0.25f));
    return image;
}

// Goal: a chequered flag with a gleam sweeping across it.
std::vector<Canvas> goalTop(const Palette& palette) {
    std::vector<Canvas> frames;
    const int count = 8;
    for (int f = 0; f < count; ++f) {
        Canvas image(S, S);
        float sweep = f * S * 2.0f / count;
        image.shade([&](int x, int y, Rgba) {
            bool light = ((x / 32) + (y / 32)) % 2 == 0;
            Rgba c = light ? rgb(0.92f, 0.92f, 0.9f) : rgb(0.06f, 0.06f, 0.08f);
            float d = std::fmod(x + y - sweep + 4.0f * S, 2.0f * S) - S;
            float gleam = std::exp(-d * d / 1800.0f);
            return mix(c, palette.glowing ? palette.accent : rgb(1, 0.9f, 0.6f), gleam * 0.55f);
        });
        frames.push_back(image);
    }
    return frames;
}

// No jump: the jump symbol greyed out and struck through.
Canvas noJumpTop(const Palette& palette) {
    Canvas image = surface(palette, palette.panel, palette.seed + 13);
    jumpSymbol(image, palette, rgb(0.45f, 0.45f, 0.5f), rgb(0.6f, 0.6f, 0.65f));
    Vec2 c{S / 2.0f, S / 2.0f};
    emblem(image, palette, [c](Vec2 p) {
        Vec2 a = c + rotated(Vec2{-88, 0}, kPi / 4), b = c + rotated(Vec2{88, 0}, kPi / 4);
        return unite(ringDistance(p, c, 100, 13), segmentDistance(p, a, b, 13));
    }, kHurt);
    return image;
}

// The sides of ordinary blocks: a darker panel with a lit border row at the
// top and bottom, which the bevelled block edges pick up.
Canvas sideTexture(const Palette& palette) {
    Canvas image = surface(palette, palette.side, palette.seed + 8);
    image.shade([&](int, int y, Rgba c) {
        float border = std::min(y + 0.5f, S - y - 0.5f);
        if (border < 10) return palette.sideEdge;
        if (border < 12) return mix(palette.sideEdge, c, (border - 10) / 2);
        return c;
    });
    return image;
}

}  // namespace

std::vector<SetImage> drawBlockTextures(const Palette& palette) {
    std::vector<SetImage> images;
    auto still = [&](const char* name, Canvas image) { images.push_back(SetImage{name, {image}}); };
    still("tex0", plainTop(palette));
    images.push_back(SetImage{"tex1", speedTop(palette)});
    still("tex2", slowTop(palette));
    still("tex3", sideArrowTop(palette, true));
    still("tex4", sideArrowTop(palette, false));
    images.push_back(SetImage{"tex5", hurtTop(palette)});
    still("tex6", iceTop(palette));
    still("tex7", drawCraftSkin(palette));
    still("tex8", sideTexture(palette));
    still("tex9", crazyTop(palette));
    still("tex10", healTop(palette));
    still("tex11", jumpTop(palette));
    images.push_back(SetImage{"tex12", goalTop(palette)});
    still("tex13", noJumpTop(palette));
    return images;
}
