#pragma once

// Seeded randomness and tileable value noise: the generator never reads the
// clock, so every build writes the same files.

#include <cstdint>

class Random {
public:
    explicit Random(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
    uint64_t next();
    float unit();                        // 0 <= value < 1
    float range(float low, float high);  // low <= value < high
    int integer(int low, int high);      // low..high inclusive

private:
    uint64_t state_;
};

// Value noise that repeats every `period` lattice cells in x and y.
class TiledNoise {
public:
    TiledNoise(uint32_t seed, int period);
    // x and y in lattice cells; the result lies in 0..1.
    float at(float x, float y) const;
    // Fractal sum of octaves: each octave doubles the frequency, so the result
    // still tiles with the base period. Result about 0..1.
    float fractal(float x, float y, int octaves, float persistence = 0.5f) const;

private:
    float lattice(int x, int y, int period) const;
    float atPeriod(float x, float y, int period) const;
    uint32_t seed_;
    int period_;
};
