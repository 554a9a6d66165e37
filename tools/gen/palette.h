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
    Rgba hull;           // the craft's body
    Rgba accent;         // the set's signature colour
};

const Palette& neonPalette();
const Palette& stonePalette();
