#pragma once

#include <SDL2/SDL.h>

#include <string>

// The game's one window and its OpenGL context. Full screen is the desktop
// as it is (its own size, no mode change); a window can be resized. Input
// is grabbed only in full screen: a window never holds the keyboard or the
// mouse of the desktop.

struct WindowRequest {
    const char* title;
    int width, height;  // of the window; full screen takes the desktop's size
    bool fullScreen;
    bool resizable;
    bool verticalSync;
};

// Opens the window with the GL context the game draws with (double
// buffered, stencil 8, the best depth of DEPTH_BITS_WANTED), with vertical
// sync where asked and the driver has it. False with SDL's reason in
// `error`. A window already open is closed first.
bool openGameWindow(const WindowRequest& request, std::string& error);
void closeGameWindow();
SDL_Window* gameWindow();

void swapGameWindow();
// Alt+Enter: full screen <-> window, grabbing input only in full screen.
void toggleFullScreen();
bool gameWindowIsFullScreen();
// The size the GL context draws at, in pixels.
void gameWindowDrawableSize(int& width, int& height);
