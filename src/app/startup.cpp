#include "app/startup.h"

#include <SDL/SDL.h>
#include <SDL/SDL_image.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>
#include <cstdlib>

#include "core/game_paths.h"
#include "core/globals.h"
#include "core/services.h"
#include "core/settings.h"
#include "frontend/sound.h"
#include "render/glow.h"
#include "render/textures.h"

namespace {

constexpr double FIELD_OF_VIEW_DEGREES = 40.0;
constexpr double NEAR_PLANE = 150.5;
constexpr double FAR_PLANE = 120000.0;

// The depth size is asked for when the mode is set.
void requestGlAttributes() {
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_ALPHA_SIZE, 8);
    // Vertical sync: a real display never gets frames faster than it shows
    // them, so the menus stop holding a core. Motion follows the elapsed
    // milliseconds, so play speed does not depend on it.
    SDL_GL_SetAttribute(SDL_GL_SWAP_CONTROL, 1);
}

int failAndQuit(const char* message) {
    std::fputs(message, stdout);
    SDL_Quit();
    return -1;
}

// A missing glow capability only switches the effect off.
void startGlow() {
    if (loadGlowExtensions() != 0) {
        std::fputs("Could not load extensions. Shaders are deactivated.\n", stdout);
        shadersActive = false;
        return;
    }
    if (createGlowTargets() != 0) {
        std::fputs("Could not create rendertargets. Shaders are deactivated.\n", stdout);
        shadersActive = false;
        return;
    }
    loadGlowShaders();
    bindWindowFramebuffer();
}

uint32_t sdlTicks() { return SDL_GetTicks(); }

// The window's icon, drawn by the data generator like the desktop icons.
// SDL 1.2 takes it before the video mode is set. A window without an icon
// still plays.
void setWindowIcon() {
    SDL_Surface* icon = IMG_Load("gfx/icon.png");
    if (icon == nullptr) return;
    SDL_WM_SetIcon(icon, nullptr);
    SDL_FreeSurface(icon);
}

}  // namespace

int setVideoModeWithDepth(const std::function<bool(int depthBits)>& trySetMode) {
    for (int bits : DEPTH_BITS_WANTED)
        if (trySetMode(bits)) return bits;
    return 0;
}

int finishStartUp() {
    if (loadDeferredTextures() == 0) return 0;
    std::fputs("Textures not found.\n", stdout);
    return -1;
}

void setFixedGlState(int width, int height) {
    glViewport(0, 0, width, height);
    glClearColor(0, 0, 0, 0);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glShadeModel(GL_SMOOTH);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
    glHint(GL_POINT_SMOOTH_HINT, GL_FASTEST);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double aspect = height != 0 ? double(width) / double(height) : 1.0;
    gluPerspective(FIELD_OF_VIEW_DEGREES, aspect, NEAR_PLANE, FAR_PLANE);
    glMatrixMode(GL_MODELVIEW);

    glEnable(GL_CULL_FACE);
    glEnable(GL_LIGHTING);
    const GLfloat specular[] = {1, 1, 1, 1};
    const GLfloat ambient[] = {1, 1, 1, 1};
    const GLfloat leftLight[] = {-1.5f, 1, 1, 1};
    const GLfloat rightLight[] = {1.5f, 1, 1, 1};
    glLightfv(GL_LIGHT0, GL_SPECULAR, specular);
    glLightfv(GL_LIGHT0, GL_POSITION, leftLight);
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glEnable(GL_LIGHT0);
    glLightfv(GL_LIGHT1, GL_SPECULAR, specular);
    glLightfv(GL_LIGHT1, GL_POSITION, rightLight);
    glLightfv(GL_LIGHT1, GL_AMBIENT, ambient);
    glEnable(GL_LIGHT1);
    glEnable(GL_NORMALIZE);
}

int startUp(const VideoOverride& video) {
    // No parachute: SDL's crash handler would shut the video down inside the
    // signal handler and can wait for ever on a lock the crashed frame holds;
    // a fatal signal must end the game with that signal.
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_NOPARACHUTE) < 0) {
        std::printf("Could not initialize SDL: %s\n", SDL_GetError());
        return -1;
    }
    setTickSource(sdlTicks);
    requestGlAttributes();
    SDL_WM_GrabInput(SDL_GRAB_ON);
    SDL_ShowCursor(SDL_DISABLE);

    readSettings(configFile(SETTINGS_FILE), listTextureSets());
    // The video mode is set once: width, height and windowed changed later
    // take effect at the next start.
    screenWidth = video.width > 0 ? video.width : settings.width;
    screenHeight = video.height > 0 ? video.height : settings.height;
    const bool windowed = video.windowed >= 0 ? video.windowed != 0 : settings.windowed != 0;
    const Uint32 flags = SDL_OPENGL | (windowed ? 0 : SDL_FULLSCREEN);
    setWindowIcon();
    const auto trySetMode = [&](int depthBits) {
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depthBits);
        return SDL_SetVideoMode(screenWidth, screenHeight, 16, flags) != nullptr;
    };
    if (setVideoModeWithDepth(trySetMode) == 0) {
        std::printf("Could not set OpenGL Video Mode: %s\n", SDL_GetError());
        SDL_Quit();
        return -1;
    }
    SDL_WM_SetCaption(WINDOW_CAPTION, nullptr);
    // Grabbing takes hold once the window exists.
    SDL_WM_GrabInput(SDL_GRAB_ON);
    std::srand(SDL_GetTicks());

    if (settings.sounds && initSound() != 0) {
        SDL_Quit();
        return -1;
    }
    setFixedGlState(screenWidth, screenHeight);
    // Decoded as drawn: the rest follows the first frame (finishStartUp).
    if (findTextures() != 0) return failAndQuit("Textures not found.\n");
    buildSpriteTiles();
    if (loadTitleTexture() != 0) return failAndQuit("Titles-texture not found.\n");
    if (loadFontTexture() != 0) return failAndQuit("Font-texture not found.\n");
    buildCornerTables();
    startGlow();
    return 0;
}
