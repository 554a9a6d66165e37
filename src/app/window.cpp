#include "app/window.h"

#include "app/startup.h"

namespace {

SDL_Window* window = nullptr;
SDL_GLContext context = nullptr;

void grabInputInFullScreenOnly() {
    SDL_SetWindowGrab(window, gameWindowIsFullScreen() ? SDL_TRUE : SDL_FALSE);
}

bool openWithDepth(const WindowRequest& request, int depthBits) {
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depthBits);
    Uint32 flags = SDL_WINDOW_OPENGL;
    if (request.fullScreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    if (request.resizable) flags |= SDL_WINDOW_RESIZABLE;
    // Full screen starts at the desktop's size: without a window manager to
    // make it full screen the window is then the size the game draws at.
    SDL_DisplayMode desktop{};
    const bool desktopSize = request.fullScreen && SDL_GetDesktopDisplayMode(0, &desktop) == 0;
    window = SDL_CreateWindow(request.title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                              desktopSize ? desktop.w : request.width, desktopSize ? desktop.h : request.height, flags);
    if (window == nullptr) return false;
    if (desktopSize) SDL_SetWindowSize(window, request.width, request.height);  // for leaving full screen
    context = SDL_GL_CreateContext(window);
    if (context != nullptr) return true;
    SDL_DestroyWindow(window);
    window = nullptr;
    return false;
}

}  // namespace

bool openGameWindow(const WindowRequest& request, std::string& error) {
    closeGameWindow();
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    const auto tryDepth = [&](int depthBits) { return openWithDepth(request, depthBits); };
    if (setVideoModeWithDepth(tryDepth) == 0) {
        error = SDL_GetError();
        return false;
    }
    // Vertical sync: a real display never gets frames faster than it shows
    // them, so the menus stop holding a core. Play speed follows the
    // elapsed milliseconds, so it does not depend on it.
    SDL_GL_SetSwapInterval(request.verticalSync ? 1 : 0);
    grabInputInFullScreenOnly();
    return true;
}

void closeGameWindow() {
    if (context != nullptr) SDL_GL_DeleteContext(context);
    if (window != nullptr) SDL_DestroyWindow(window);
    context = nullptr;
    window = nullptr;
}

SDL_Window* gameWindow() { return window; }

void swapGameWindow() {
    if (window != nullptr) SDL_GL_SwapWindow(window);
}

bool gameWindowIsFullScreen() {
    return window != nullptr && (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0;
}

void toggleFullScreen() {
    if (window == nullptr) return;
    SDL_SetWindowFullscreen(window, gameWindowIsFullScreen() ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
    grabInputInFullScreenOnly();
}

void gameWindowDrawableSize(int& width, int& height) {
    width = height = 0;
    if (window != nullptr) SDL_GL_GetDrawableSize(window, &width, &height);
}
