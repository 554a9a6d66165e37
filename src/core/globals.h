#pragma once

#include <cstdint>

// Program-wide frame and render globals. Plain data, no SDL or GL, so the
// simulation and its tests can see them.
extern int screenWidth;
extern int screenHeight;
extern int framesPerSecond;
extern bool glowPass;       // true only while a state draws the glow pass
extern bool shadersActive;  // glow post-processing available
extern bool wireframe;      // console switch
extern bool debugView;      // console switch: debug overlays
// Physics steps since the current run started; picks animation frames.
extern int animationTicks;
