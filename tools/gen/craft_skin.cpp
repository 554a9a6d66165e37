// tex7, the craft's skin (also the pong ball). The craft model samples it in
// fixed places: the body rings wrap u around the hull with v 0..0.5 (upper
// plating, then the rim band at v 0.2..0.33, then the underside), the fin
// spans u 0..0.5 along v 0.51..0.89, the engine cones fan out from
// (0.75, 0.75) and the engine caps are the disc at (0.875, 0.75).

#include <cmath>

#include "set_painting.h"
#include "shapes.h"

Canvas drawCraftSkin(const Palette& palette) {
    constexpr int S = kSetTextureSize;
    Canvas skin(S, S);
    Rgba hull = palette.hull, dark = scaled(palette.hull, 0.45f);
    skin.shade([&](int x, int y, Rgba) {
        float v = (y + 0.5f) / S, u = (x + 0.5f) / S;
        if (v < 0.5f) {
            // Hull: plates with seams every eighth of the way round.
            float seam = std::fabs(std::fmod(u * 8, 1.0f) - 0.5f);
            Rgba c = v < 0.2f ? mix(hull, scaled(hull, 0.85f), v / 0.2f) : (v < 0.33f ? palette.accent : dark);
            if (v >= 0.2f && v < 0.33f) {
                // Rim lights.
                float light = std::fabs(std::fmod(u * 16, 1.0f) - 0.5f);
                c = mix(c, rgb(1, 1, 1), smoothstep(0.18f, 0.05f, light) * smoothstep(0.05f, 0.0f, std::fabs(v - 0.265f) - 0.02f));
            }
            return scaled(c, seam > 0.47f ? 0.6f : 1.0f);
        }
        if (u < 0.5f) {
            // Fin: the accent with a pale stripe down the middle.
            float stripe = std::fabs(u - 0.25f);
            return stripe < 0.03f ? mix(palette.accent, rgb(1, 1, 1), 0.6f) : mix(hull, palette.accent, 0.5f + 0.5f * (1 - v));
        }
        if (u < 0.75f) {
            // Engine cones: dark metal brightening toward the tip.
            float d = length(Vec2{u - 0.75f, v - 0.75f});
            return mix(scaled(hull, 0.7f), scaled(hull, 0.3f), clamp01(d * 3));
        }
        // Engine caps: a glowing nozzle.
        float d = length(Vec2{(u - 0.875f) / 0.125f, (v - 0.75f) / 0.25f});
        Rgba flame = mix(rgb(1, 0.95f, 0.7f), rgb(1.0f, 0.45f, 0.1f), clamp01(d * 1.4f));
        return mix(flame, scaled(hull, 0.35f), smoothstep(0.7f, 0.8f, d));
    });
    return skin;
}
