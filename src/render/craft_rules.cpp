#include "render/craft_rules.h"

CraftRadii craftRadii(int verticalSpeed) {
    const int s = verticalSpeed / 2;
    if (s >= -80) return {float(150 - s), float(200 - s), float(140 - s)};
    return {230.0f, 280.0f, 220.0f};
}

ExhaustTips exhaustTips(int dir, int prevZ, int z, bool translucent) {
    const float f = translucent ? float(dir) * 0.5f : float(dir);
    const float reach = float(z - prevZ) * f;
    const bool advancing = prevZ * dir < z * dir;
    ExhaustTips tips{};
    tips.inner = !advancing ? -165.0f : (reach < 500 ? -165.0f - reach : -665.0f);
    tips.outerShown = advancing;
    tips.outer = 1.5f * reach < 500 ? -170.0f - 1.5f * reach : -670.0f;
    return tips;
}
