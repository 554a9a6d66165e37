#include "app/main_loop.h"

#include <time.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "app/gamepad_port.h"
#include "app/render_frame.h"
#include "app/startup.h"
#include "app/state_table.h"
#include "core/game_paths.h"
#include "core/gamestate.h"
#include "core/held_keys.h"
#include "core/globals.h"
#include "core/settings.h"
#include "frontend/sound.h"
#include "render/glow.h"
#include "render/textures.h"

namespace {

constexpr std::size_t KEY_RECORD_OFFSET = offsetof(SDL_KeyboardEvent, keysym);
static_assert(sizeof(SDL_Event) >= KEY_RECORD_OFFSET + sizeof(SDL_keysym),
              "every event carries the bytes of a key record");

LoopIo sdlLoopIo() {
    return LoopIo{[] { return uint32_t(SDL_GetTicks()); },
                  [](SDL_Event& event) { return SDL_PollEvent(&event) != 0; },
                  renderFrame,
                  [](uint32_t ms) { SDL_Delay(ms); },
                  [] {
                      if (SDL_Surface* screen = SDL_GetVideoSurface()) SDL_WM_ToggleFullScreen(screen);
                  },
                  [] { return gamepadPort.lostPads(SDL_GetTicks()); }};
}

// The frame benchmark starts the game with FIRST_FRAME_EXIT_VARIABLE set and
// subtracts the moment it started the process from this one.
void reportFirstFrame() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::printf("First frame swapped at %.3f ms on the monotonic clock\n",
                double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6);
}

bool isKeyEvent(const SDL_Event& event, uint8_t type, int sym) {
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
    SDL_Quit();
    return 0;
}

}  // namespace

SDL_keysym keyRecordOf(const SDL_Event& event) {
    SDL_keysym key;
    std::memcpy(&key, reinterpret_cast<const unsigned char*>(&event) + KEY_RECORD_OFFSET, sizeof key);
    return key;
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

// A pad event becomes the key events it stands for, through the same
// handleEvent as the keyboard's.
void MainLoop::deliverPadEvent(const SDL_Event& event) {
    if (event.type == SDL_JOYBUTTONDOWN && currentState->takePadButton(event.jbutton.which, event.jbutton.button))
        return;
    for (const SDL_Event& key : pads_.translate(event, currentState->drivesCrafts(), settings.keys, padBindings))
        deliver(key);
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
        if (isFullScreenToggle(event)) {
            if (io_.toggleFullScreen) io_.toggleFullScreen();
            continue;
        }
        if (GamepadTranslator::isPadEvent(event)) {
            deliverPadEvent(event);
            continue;
        }
        deliver(event);
        if (event.type == SDL_QUIT) quit_ = true;  // window closed, SIGTERM or SIGINT
        if (event.type == SDL_ACTIVEEVENT && (event.active.state & SDL_APPACTIVE))
            windowShown_ = event.active.gain != 0;
    }
    if (io_.lostPads)
        for (int pad : io_.lostPads())
            for (const SDL_Event& release : pads_.releaseAll(pad)) deliver(release);
    currentState->update(int(elapsed));
    holdFrame(now);
    return !quit_;
}

void MainLoop::holdFrame(uint32_t frameStart) {
    if (minimumFrameMs_ == 0 || !io_.sleepMs) return;
    const uint32_t spent = io_.readTicks() - frameStart;
    if (spent < minimumFrameMs_) io_.sleepMs(minimumFrameMs_ - spent);
}

int runGame(const VideoOverride& video) {
    // Starting SDL with no subsystem only starts its millisecond clock, which
    // otherwise reads from an arbitrary origin until the real start-up.
    SDL_Init(SDL_INIT_NOPARACHUTE);
    MainLoop loop(sdlLoopIo());
    if (const char* frameMs = std::getenv(FRAME_MS_VARIABLE)) loop.holdFramesTo(uint32_t(std::strtoul(frameMs, nullptr, 10)));

    createStates();
    stateTable[STATE_CONSOLE]->enter();
    switchToState(STATE_MENU);
    if (startUp(video) != 0) return -1;
    SDL_EnableUNICODE(1);
    padBindings = readPadBindings(configFile(GAMEPAD_FILE));
    gamepadPort.open();

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
    while (running && loop.runIteration()) {
    }
    return shutDown();
}
