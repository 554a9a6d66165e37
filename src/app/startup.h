#pragma once

// Brings up SDL, the window, sound, the fixed GL state, every texture and
// the optional glow effect, in that order. Each failure prints its one-line
// message on standard output. Returns 0, or -1 when the game cannot run.
int startUp();

// The GL state that never changes while the game runs, for a w x h window.
void setFixedGlState(int width, int height);

// The window title.
constexpr const char* WINDOW_CAPTION = "Tavrelo 1.16b";
