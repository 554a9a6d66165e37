#pragma once

#include <string>

#include "level/level.h"
#include "sim/craft.h"

// What the viewer shows and from where.
struct ViewerOptions {
    int width = 1024, height = 768;
    int z = 0, x = 0;
    bool zGiven = false, xGiven = false;
    int details = 2;
    bool shadows = true, halos = true, wireframe = false, craft = true;
    int forwardSpeed = 0;
    int health = 100;
    int style = 0;
    int backdrop = 0;
    bool split = false;      // the race's split screen: a second craft ahead, upper half
    int leadingMark = 0;     // race: blocks beyond this z are dimmed (0: none)
};

// SDL window, the game's fixed GL state and the textures of gfx/. 0 or -1.
int openViewerWindow(const ViewerOptions& options);
// The craft standing on the block under (x, z), or hovering at z when none.
Craft placeViewerCraft(const Level& level, const ViewerOptions& options);
// One single-player frame: backdrop, track, craft, shadows, halos, effects,
// items and a caption.
void drawViewerFrame(const Level& level, Craft& craft, const ViewerOptions& options);
// The race's two viewports: craft A below, craft B (a little ahead) above.
void drawSplitViewerFrame(const Level& level, Craft& craftA, Craft& craftB, const ViewerOptions& options);
bool saveBackBufferPng(const std::string& path, int width, int height);
