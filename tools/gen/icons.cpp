#include "icons.h"

#include <cmath>

#include "palette.h"
#include "shapes.h"

namespace {

constexpr float kPi = 3.14159265f;

struct IconFrame {
    Vec2 centre;
    float radius;
};

// A round badge behind every power-up, in the icon's colour.
void badge(Canvas& icon, IconFrame f, Rgba colour) {
    icon.glow([=](Vec2 p) { return ringDistance(p, f.centre, f.radius, 1.2f); }, scaled(colour, 0.35f), 5.0f);
    icon.paint([=](Vec2 p) { return ringDistance(p, f.centre, f.radius, 1.6f); }, scaled(colour, 0.8f));
    icon.paint([=](Vec2 p) { return circleDistance(p, f.centre, f.radius - 1.6f); }, scaled(colour, 0.12f));
}

void symbol(Canvas& icon, const DistanceField& shape, Rgba colour) {
    icon.glow(shape, scaled(colour, 0.5f), 4.0f);
    icon.paint(shape, colour);
}

void snowflake(Canvas& icon, IconFrame f, Rgba colour) {
    float arm = f.radius * 0.72f;
    symbol(icon, [=](Vec2 p) {
        float d = 1e9f;
        for (int k = 0; k < 6; ++k) {
            float a = k * kPi / 3;
            Vec2 dir{std::sin(a), -std::cos(a)};
            Vec2 tip = f.centre + dir * arm, fork = f.centre + dir * (arm * 0.55f);
            d = unite(d, segmentDistance(p, f.centre, tip, 2.2f));
            for (float side : {-1.0f, 1.0f}) {
                Vec2 branch = rotated(dir, side * 0.7f) * (arm * 0.32f);
                d = unite(d, segmentDistance(p, fork, fork + branch, 1.8f));
            }
        }
        return d;
    }, colour);
}

std::vector<Vec2> chevron(Vec2 tip, float width, float height, float thickness) {
    return {tip, {tip.x + width, tip.y + height}, {tip.x + width, tip.y + height + thickness},
            {tip.x, tip.y + thickness}, {tip.x - width, tip.y + height + thickness}, {tip.x - width, tip.y + height}};
}

void upChevrons(Canvas& icon, IconFrame f, Rgba colour, int count) {
    float width = f.radius * 0.55f, height = f.radius * 0.45f, thickness = f.radius * 0.22f;
    for (int i = 0; i < count; ++i) {
        std::vector<Vec2> c = chevron(Vec2{f.centre.x, f.centre.y - f.radius * 0.55f + i * f.radius * 0.5f}, width,
                                      height, thickness);
        symbol(icon, [c](Vec2 p) { return polygonDistance(p, c); }, scaled(colour, 1.0f - 0.25f * i));
    }
}

void bricks(Canvas& icon, IconFrame f, Rgba colour) {
    float w = f.radius * 0.5f, h = f.radius * 0.26f;
    for (int row = 0; row < 4; ++row) {
        float y = f.centre.y - f.radius * 0.5f + row * (h + 3.0f);
        float shift = (row % 2) ? w * 0.5f : 0.0f;
        for (int col = -2; col <= 2; ++col) {
            Vec2 c{f.centre.x + col * (w + 3.0f) + shift - w * 0.25f, y};
            symbol(icon, [=](Vec2 p) {
                return intersect(boxDistance(p, c, Vec2{w / 2, h / 2}, 1.5f),
                                 circleDistance(p, f.centre, f.radius * 0.78f));
            }, colour);
        }
    }
}

void shockwave(Canvas& icon, IconFrame f, Rgba colour) {
    symbol(icon, [=](Vec2 p) { return circleDistance(p, f.centre, f.radius * 0.16f); }, colour);
    for (int i = 1; i <= 3; ++i) {
        float r = f.radius * (0.16f + 0.19f * i);
        symbol(icon, [=](Vec2 p) { return ringDistance(p, f.centre, r, 1.8f); }, scaled(colour, 1.0f - 0.2f * i));
    }
}

std::vector<Vec2> shieldOutline(Vec2 c, float r) {
    std::vector<Vec2> points = {{c.x - r * 0.62f, c.y - r * 0.6f}, {c.x, c.y - r * 0.78f}, {c.x + r * 0.62f, c.y - r * 0.6f}};
    for (int k = 0; k <= 8; ++k) {
        float t = k / 8.0f;
        points.push_back(Vec2{c.x + r * 0.62f * (1 - t * t), c.y - r * 0.6f + r * 1.35f * t});
    }
    for (int k = 7; k >= 1; --k) {
        float t = k / 8.0f;
        points.push_back(Vec2{c.x - r * 0.62f * (1 - t * t), c.y - r * 0.6f + r * 1.35f * t});
    }
    return points;
}

void shieldSymbol(Canvas& icon, IconFrame f, Rgba colour) {
    std::vector<Vec2> outline = shieldOutline(f.centre, f.radius);
    symbol(icon, [&](Vec2 p) { return std::fabs(polygonDistance(p, outline)) - 2.2f; }, colour);
    std::vector<Vec2> inner = shieldOutline(Vec2{f.centre.x, f.centre.y + f.radius * 0.05f}, f.radius * 0.62f);
    icon.paint([&](Vec2 p) { return polygonDistance(p, inner); }, scaled(colour, 0.55f));
}

void spikes(Canvas& icon, IconFrame f, Rgba colour) {
    std::vector<Vec2> burst = starPoints(f.centre, f.radius * 0.78f, f.radius * 0.38f, 8);
    symbol(icon, [&](Vec2 p) { return polygonDistance(p, burst); }, colour);
    icon.paint([=](Vec2 p) { return segmentDistance(p, Vec2{f.centre.x, f.centre.y - f.radius * 0.22f},
                                                    Vec2{f.centre.x, f.centre.y + f.radius * 0.05f}, 2.4f); },
               rgb(0, 0, 0));
    icon.paint([=](Vec2 p) { return circleDistance(p, Vec2{f.centre.x, f.centre.y + f.radius * 0.2f}, 2.6f); },
               rgb(0, 0, 0));
}

}  // namespace

std::vector<Vec2> starPoints(Vec2 centre, float outer, float inner, int points) {
    std::vector<Vec2> corners;
    for (int k = 0; k < points * 2; ++k) {
        float a = k * kPi / points;
        float r = (k % 2) ? inner : outer;
        corners.push_back(Vec2{centre.x + r * std::sin(a), centre.y - r * std::cos(a)});
    }
    return corners;
}

void drawPowerupIcon(Canvas& icon, int n) {
    IconFrame f{Vec2{icon.width() / 2.0f, icon.height() / 2.0f}, std::min(icon.width(), icon.height()) * 0.44f};
    switch (n) {
    case 0:  // nothing held: an empty socket
        icon.paint([=](Vec2 p) { return ringDistance(p, f.centre, f.radius, 1.4f); }, rgb(0.22f, 0.22f, 0.26f));
        break;
    case 1:
        badge(icon, f, rgb(0.5f, 0.8f, 1.0f));
        snowflake(icon, f, rgb(0.85f, 0.95f, 1.0f));
        break;
    case 2:
        badge(icon, f, rgb(0.3f, 1.0f, 0.6f));
        upChevrons(icon, f, rgb(0.7f, 1.0f, 0.8f), 2);
        break;
    case 3:
        badge(icon, f, rgb(1.0f, 0.55f, 0.15f));
        bricks(icon, f, rgb(1.0f, 0.7f, 0.35f));
        break;
    case 4:
        badge(icon, f, rgb(1.0f, 0.3f, 1.0f));
        shockwave(icon, f, rgb(1.0f, 0.7f, 1.0f));
        break;
    case 5:
        badge(icon, f, rgb(0.3f, 0.6f, 1.0f));
        shieldSymbol(icon, f, rgb(0.6f, 0.85f, 1.0f));
        break;
    case 6:
        badge(icon, f, rgb(1.0f, 0.15f, 0.1f));
        spikes(icon, f, rgb(1.0f, 0.45f, 0.3f));
        break;
    default: {  // spare: a plain star
        badge(icon, f, rgb(1.0f, 0.9f, 0.2f));
        std::vector<Vec2> star = starPoints(f.centre, f.radius * 0.7f, f.radius * 0.3f, 5);
        symbol(icon, [&](Vec2 p) { return polygonDistance(p, star); }, rgb(1.0f, 0.95f, 0.5f));
    }
    }
}
