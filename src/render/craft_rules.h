#pragma once

// Shape rules of the craft model, apart from GL so they can be tested alone.

// The body's three radii: it widens while falling (capped) and narrows while
// rising.
struct CraftRadii {
    float p, q, r;
};
CraftRadii craftRadii(int verticalSpeed);

// Where the exhaust flames end (z behind the craft's centre). The long outer
// flames show only while the craft moves the way it faces.
struct ExhaustTips {
    float inner;
    bool outerShown;
    float outer;
};
// dir: +1 facing +z, -1 facing -z; translucent: the ghost (half-length flames).
ExhaustTips exhaustTips(int dir, int prevZ, int z, bool translucent);
