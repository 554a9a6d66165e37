#pragma once

// The colours of one texture set. Block types keep their signal colours in
// every set (green speeds up, red hurts, ...); the set decides the material.

#include <string>

#include "canvas.h"

struct Palette {
    std::string name;
    unsigned seed;
    bool glowing;        // lit lines and symbols (true) or painted stone (false)
    Rgba panel;          // plain top surface
    Rgba panelDark;      // seams and shadows
    Rgba trim;           // panel edges and bolts
    Rgba side;           // block sides
    Rgba sideEdge;       // the sides' top and bottom border
    // The craft's body. Kept below half brightness: the lights' full ambient
    // shows the skin at its own colours, and the glow takes whatever is
    // brighter than about half, so a pale hull glows into a blob with no
    // shape. The rim band, the fin and the nozzles are the parts that glow.
    Rgba hull;
    Rgba accent;         // the set's signature colour
};

const Palette& neonPalette();
const Palette& stonePalette();
