#pragma once

#include <functional>

#include "core/version.h"

// The command line's video choices for this start: 0 (or -1 for the
// window mode) keeps what settings.ini says. They are never saved.
struct VideoOverride {
    int width = 0;
    int height = 0;
    int windowed = -1;
};

// Brings up SDL, the window, sound, the fixed GL state, every texture and
// the optional glow effect, in that order. Each failure prints its one-line
// message on standard output. Returns 0, NO_DISPLAY_EXIT_STATUS when there
// is no display to open a window on, or -1 when the game cannot run.
// The textures are only found here; each is read when first drawn.
int startUp(const VideoOverride& video = VideoOverride());
constexpr int NO_DISPLAY_EXIT_STATUS = 1;

// After the first frame: reads every texture that frame did not draw, so
// nothing is read later in the game. 0, or -1 (with the message of a
// missing texture) when one cannot be read.
int finishStartUp();

// Depth bits asked of the driver, best first. The track is drawn near to far
// (hidden pixels then fail the depth test before they are textured), so
// where two surfaces share a depth value the farther one shows: with 16
// bits, and the near plane at 50.5, that happens for surfaces a few hundred
// units apart some 60000 units ahead.
constexpr int DEPTH_BITS_WANTED[] = {24, 16};

// Calls trySetMode with each of DEPTH_BITS_WANTED until one succeeds;
// returns the bits it succeeded with, or 0 when none did.
int setVideoModeWithDepth(const std::function<bool(int depthBits)>& trySetMode);

// The GL state that never changes while the game runs, for a w x h window.
void setFixedGlState(int width, int height);

// The window title.
constexpr const char* WINDOW_CAPTION = "Tavrelo " TAVRELO_VERSION;
