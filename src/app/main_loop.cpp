#include "app/main_loop.h"

#include <time.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "app/gamepad_port.h"
#include "app/render_frame.h"
#include "app/startup.h"
#include "app/state_table.h"
#include "app/window.h"
#include "core/game_paths.h"
#include "core/gamestate.h"
#include "core/held_keys.h"
#include "core/globals.h"
#include "core/settings.h"
#include "frontend/sound.h"
#include "modes/timeattack/opened_level.h"
#include "render/glow.h"
#include "render/textures.h"

namespace {

GamepadPort gamepadPort;

LoopIo sdlLoopIo() {
    LoopIo io;
    io.readTicks = [] { return uint32_t(SDL_GetTicks()); };
    io.pollEvent = [](SDL_Event& event) { return SDL_PollEvent(&event) != 0; };
    io.renderFrame = renderFrame;
    io.sleepMs = [](uint32_t ms) { SDL_Delay(ms); };
    io.toggleFullScreen = toggleFullScreen;
    io.windowResized = [] { gameWindowDrawableSize(screenWidth, screenHeight); };
    io.pads = &gamepadPort;
    return io;
}

// Pads whose buttons were numbered by an earlier version are written in
// today's terms once, at the first start that reads them.
void readGamepadFile() {
    bool oldNumbers = false;
    padBindings = readPadBindings(configFile(GAMEPAD_FILE), &oldNumbers);
    if (oldNumbers) writePadBindings(configFile(GAMEPAD_FILE), padBindings);
}

// The frame benchmark starts the game with FIRST_FRAME_EXIT_VARIABLE set and
// subtracts the moment it started the process from this one.
void reportFirstFrame() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::printf("First frame swapped at %.3f ms on the monotonic clock\n",
                double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6);
}

bool isKeyEvent(const SDL_Event& event, Uint32 type, int sym) {
    return event.type == type && event.key.keysym.sym == sym;
}

int shutDown() {
    destroyStates();
    // A handler may already have shut SDL down; then the GL context is gone
    // and its objects with it.
    const bool videoUp = SDL_WasInit(SDL_INIT_VIDEO) != 0;
    if (videoUp) releaseTextureTable();
    if (shadersActive && videoUp) releaseGlow();
    releaseCornerTables();
    shutdownSound();
    gamepadPort.close();
    closeGameWindow();
    SDL_Quit();
    return 0;
}

}  // namespace

SDL_Keysym keyRecordOf(const SDL_Event& event) {
    if (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) return event.key.keysym;
    return SDL_Keysym{};
}

void dropAutorepeatPairs(std::vector<SDL_Event>& events) {
    // The keys down as the events so far leave them: only a held key repeats.
    std::vector<int> down = keysDown();
    const auto isDown = [&down](int code) { return std::find(down.begin(), down.end(), code) != down.end(); };
    std::vector<SDL_Event> kept;
    kept.reserve(events.size());
    for (size_t i = 0; i < events.size(); ++i) {
        const SDL_Event& event = events[i];
        const int code = event.key.keysym.sym;
        if (event.type == SDL_KEYUP && i + 1 < events.size() && isKeyEvent(events[i + 1], SDL_KEYDOWN, code) &&
            isDown(code)) {
            ++i;  // the press that follows goes with it
            continue;
        }
        if (event.type == SDL_KEYDOWN && !isDown(code)) down.push_back(code);
        if (event.type == SDL_KEYUP) down.erase(std::remove(down.begin(), down.end(), code), down.end());
        kept.push_back(event);
    }
    events.swap(kept);
}

void MainLoop::deliver(const SDL_Event& event) {
    if (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) setKeyDown(event.key.keysym.sym, event.type == SDL_KEYDOWN);
    if (currentState->handleEvent(event, keyRecordOf(event)) == -1) quit_ = true;
}

// Shown and hidden (iconified, or unmapped) windows; a new size is drawn
// at from the next frame. The state sees these events too.
bool MainLoop::takeWindowEvent(const SDL_Event& event) {
    if (event.type != SDL_WINDOWEVENT) return false;
    switch (event.window.event) {
        case SDL_WINDOWEVENT_HIDDEN:
        case SDL_WINDOWEVENT_MINIMIZED: windowShown_ = false; break;
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED: windowShown_ = true; break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            if (io_.windowResized) io_.windowResized();
            break;
        default: break;
    }
    return false;
}

// Alt+Enter is the loop's; a key's autorepeat is nobody's (a held key is
// held until its release); the text of a key that switched screens stays
// with the screen it was typed on.
bool MainLoop::takeKeyEvent(const SDL_Event& event) {
    if (event.type == SDL_TEXTINPUT && dropTypedText_) {
        dropTypedText_ = false;
        return true;
    }
    dropTypedText_ = false;
    if (isFullScreenToggle(event)) {
        if (io_.toggleFullScreen) io_.toggleFullScreen();
        return true;
    }
    return event.type == SDL_KEYDOWN && event.key.repeat != 0;
}

// A pad's input becomes the key events it stands for, through the same
// handleEvent as the keyboard's; a pad pulled out lets go of what it held.
bool MainLoop::takePadEvent(const SDL_Event& event) {
    if (io_.pads == nullptr) return false;
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED: io_.pads->added(event.cdevice.which); return true;
        case SDL_CONTROLLERDEVICEREMOVED:
            for (const SDL_Event& release : pads_.releaseAll(io_.pads->removed(event.cdevice.which))) deliver(release);
            return true;
        default: break;
    }
    if (!GamepadTranslator::isPadInput(event)) return false;
    const int player = io_.pads->playerOf(event.cbutton.which);  // `which` sits alike in every pad event
    if (event.type == SDL_CONTROLLERBUTTONDOWN && player >= 0 &&
        currentState->takePadButton(player, event.cbutton.button))
        return true;
    for (const SDL_Event& key : pads_.translate(event, player, currentState->drivesCrafts(), settings.keys, padBindings))
        deliver(key);
    return true;
}

bool isFullScreenToggle(const SDL_Event& event) {
    return event.type == SDL_KEYDOWN && (event.key.keysym.sym == SDLK_RETURN || event.key.keysym.sym == SDLK_KP_ENTER) &&
           (event.key.keysym.mod & KMOD_ALT) != 0;
}

MainLoop::MainLoop(LoopIo io) : io_(std::move(io)), lastTick_(io_.readTicks()) {}

bool MainLoop::runIteration() {
    ++frameCounter_;
    const uint32_t now = io_.readTicks();
    const uint32_t elapsed = now - lastTick_;  // unsigned: survives the tick counter wrapping
    lastTick_ = now;
    accumulatorMs_ += elapsed;
    if (accumulatorMs_ > 999) {
        accumulatorMs_ %= 1000;
        framesPerSecond = frameCounter_;
        frameCounter_ = 0;
    }

    // Nobody sees an iconified window: drawing it would only hold a core.
    if (windowShown_) io_.renderFrame();
    else if (io_.sleepMs) io_.sleepMs(HIDDEN_FRAME_SLEEP_MS);

    std::vector<SDL_Event> events;
    for (SDL_Event event; io_.pollEvent(event);) events.push_back(event);
    // Only where keys are held to drive: elsewhere a pair is typing ("00",
    // Enter twice) faster than a slow frame.
    if (currentState->drivesCrafts()) dropAutorepeatPairs(events);
    for (const SDL_Event& event : events) {
        if (takeKeyEvent(event) || takePadEvent(event) || takeWindowEvent(event)) continue;
        const Gamestate* before = currentState;
        deliver(event);
        dropTypedText_ = event.type == SDL_KEYDOWN && currentState != before;
        if (event.type == SDL_QUIT) quit_ = true;  // window closed, SIGTERM or SIGINT
    }
    currentState->update(int(elapsed));
    holdFrame(now);
    return !quit_;
}

void MainLoop::holdFrame(uint32_t frameStart) {
    if (minimumFrameMs_ == 0 || !io_.sleepMs) return;
    const uint32_t spent = io_.readTicks() - frameStart;
    if (spent < minimumFrameMs_) io_.sleepMs(minimumFrameMs_ - spent);
}

int runGame(const VideoOverride& video, const std::string& levelFile) {
    // The millisecond clock starts here, so the first update covers start-up.
    SDL_Init(SDL_INIT_TIMER);
    MainLoop loop(sdlLoopIo());
    if (const char* frameMs = std::getenv(FRAME_MS_VARIABLE)) loop.holdFramesTo(uint32_t(std::strtoul(frameMs, nullptr, 10)));

    createStates();
    stateTable[STATE_CONSOLE]->enter();
    switchToState(STATE_MENU);
    const int started = startUp(video);
    if (started != 0) return started;
    readGamepadFile();
    gamepadPort.open(configFile(GAMEPAD_MAPPING_FILE));

    // The player sees the menu as soon as its own textures are read.
    const bool running = loop.runIteration();
    if (std::getenv(FIRST_FRAME_EXIT_VARIABLE) != nullptr) {
        reportFirstFrame();
        return shutDown();
    }
    if (finishStartUp() != 0) {
        shutDown();
        return -1;
    }
    if (!levelFile.empty()) startOpenedLevel(levelFile);
    while (running && loop.runIteration()) {
    }
    return shutDown();
}
