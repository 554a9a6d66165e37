#pragma once

// Signed distance functions (pixels; negative inside) for the shapes the
// generator draws, plus small combinators.

#include <algorithm>
#include <cmath>
#include <vector>

#include "canvas.h"

inline float length(Vec2 v) { return std::sqrt(v.x * v.x + v.y * v.y); }
inline Vec2 operator-(Vec2 a, Vec2 b) { return Vec2{a.x - b.x, a.y - b.y}; }
inline Vec2 operator+(Vec2 a, Vec2 b) { return Vec2{a.x + b.x, a.y + b.y}; }
inline Vec2 operator*(Vec2 a, float s) { return Vec2{a.x * s, a.y * s}; }

inline Vec2 rotated(Vec2 v, float radians) {
    float c = std::cos(radians), s = std::sin(radians);
    return Vec2{v.x * c - v.y * s, v.x * s + v.y * c};
}

inline float circleDistance(Vec2 p, Vec2 centre, float radius) { return length(p - centre) - radius; }

inline float ringDistance(Vec2 p, Vec2 centre, float radius, float halfThickness) {
    return std::fabs(length(p - centre) - radius) - halfThickness;
}

// Axis-aligned box given by its centre and half size, with rounded corners.
inline float boxDistance(Vec2 p, Vec2 centre, Vec2 half, float cornerRadius = 0) {
    float qx = std::fabs(p.x - centre.x) - half.x + cornerRadius;
    float qy = std::fabs(p.y - centre.y) - half.y + cornerRadius;
    float outside = std::sqrt(std::max(qx, 0.0f) * std::max(qx, 0.0f) + std::max(qy, 0.0f) * std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - cornerRadius;
}

// A capsule around the segment a-b.
inline float segmentDistance(Vec2 p, Vec2 a, Vec2 b, float halfThickness) {
    Vec2 pa = p - a, ba = b - a;
    float h = std::clamp((pa.x * ba.x + pa.y * ba.y) / (ba.x * ba.x + ba.y * ba.y), 0.0f, 1.0f);
    return length(pa - ba * h) - halfThickness;
}

// A closed polygon (any winding, may be concave).
inline float polygonDistance(Vec2 p, const std::vector<Vec2>& points) {
    float best = 1e30f;
    bool inside = false;
    size_t n = points.size();
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        Vec2 a = points[j], b = points[i];
        best = std::min(best, segmentDistance(p, a, b, 0));
        if ((b.y > p.y) != (a.y > p.y) && p.x < (a.x - b.x) * (p.y - b.y) / (a.y - b.y) + b.x) inside = !inside;
    }
    return inside ? -best : best;
}

inline float unite(float a, float b) { return std::min(a, b); }
inline float subtract(float a, float b) { return std::max(a, -b); }
inline float intersect(float a, float b) { return std::max(a, b); }
