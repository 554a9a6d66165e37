#pragma once

// The command line's video choices for this start: 0 (or -1 for the
// window mode) keeps what settings.ini says. They are never saved.
struct VideoOverride {
    int width = 0;
    int height = 0;
    int windowed = -1;
};

// Brings up SDL, the window, sound, the fixed GL state, every texture and
// the optional glow effect, in that order. Each failure prints its one-line
// message on standard output. Returns 0, or -1 when the game cannot run.
int startUp(const VideoOverride& video = VideoOverride());

// The GL state that never changes while the game runs, for a w x h window.
void setFixedGlState(int width, int height);

// The window title.
constexpr const char* WINDOW_CAPTION = "Tavrelo 1.16b";
