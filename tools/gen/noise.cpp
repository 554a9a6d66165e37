#include "noise.h"

#include <cmath>

uint64_t Random::next() {
    // splitmix64: small, fast and good enough for art.
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

float Random::unit() { return static_cast<float>(next() >> 40) / static_cast<float>(1ull << 24); }

float Random::range(float low, float high) { return low + (high - low) * unit(); }

int Random::integer(int low, int high) {
    return low + static_cast<int>(next() % static_cast<uint64_t>(high - low + 1));
}

TiledNoise::TiledNoise(uint32_t seed, int period) : seed_(seed), period_(period < 1 ? 1 : period) {}

float TiledNoise::lattice(int x, int y, int period) const {
    x %= period;
    y %= period;
    if (x < 0) x += period;
    if (y < 0) y += period;
    uint32_t h = seed_ * 0x27D4EB2Du ^ static_cast<uint32_t>(x) * 0x85EBCA6Bu ^
                 static_cast<uint32_t>(y) * 0xC2B2AE35u ^ static_cast<uint32_t>(period) * 0x165667B1u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return static_cast<float>(h & 0xFFFFFF) / static_cast<float>(0xFFFFFF);
}

float TiledNoise::atPeriod(float x, float y, int period) const {
    int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
    float tx = x - x0, ty = y - y0;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    float a = lattice(x0, y0, period), b = lattice(x0 + 1, y0, period);
    float c = lattice(x0, y0 + 1, period), d = lattice(x0 + 1, y0 + 1, period);
    float top = a + (b - a) * tx, bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

float TiledNoise::at(float x, float y) const { return atPeriod(x, y, period_); }

float TiledNoise::fractal(float x, float y, int octaves, float persistence) const {
    float sum = 0, weight = 1, total = 0;
    int period = period_;
    for (int i = 0; i < octaves; ++i) {
        sum += atPeriod(x, y, period) * weight;
        total += weight;
        weight *= persistence;
        x *= 2;
        y *= 2;
        period *= 2;
    }
    return sum / total;
}
