#pragma once

#include <SDL2/SDL.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/gamepad.h"

class GamepadPort;
struct VideoOverride;

// Set in the environment, it makes the game print when its first frame was
// swapped (the monotonic clock in milliseconds) and quit: the frame
// benchmark's measure of how long the player waits for the menu.
constexpr const char* FIRST_FRAME_EXIT_VARIABLE = "TAVRELO_FIRST_FRAME_EXIT";
// Set to a number of milliseconds, every frame lasts at least that long: the
// tests and the step-rate benchmark play the game as a slow machine would.
constexpr const char* FRAME_MS_VARIABLE = "TAVRELO_FRAME_MS";

// The program: creates the states, starts up, runs the main loop, shuts down.
// With a level file (an absolute path) the first screen is a time-attack
// run on it instead of the menu. Returns 0 after a normal shutdown, -1 when
// start-up fails.
int runGame(const VideoOverride& video, const std::string& levelFile = "");

// What one loop iteration talks to: the game plugs in SDL and renderFrame,
// tests plug in a fake clock and event queue.
struct LoopIo {
    std::function<uint32_t()> readTicks;
    std::function<bool(SDL_Event&)> pollEvent;
    std::function<void()> renderFrame;
    // Waits instead of a frame while the window is iconified (may be empty).
    std::function<void(uint32_t)> sleepMs;
    // Alt+Enter: switches between full screen and a window (may be empty).
    std::function<void()> toggleFullScreen;
    // The window's drawing size changed (may be empty).
    std::function<void()> windowResized = nullptr;
    // The pads plugged in; without it pad events are ignored.
    GamepadPort* pads = nullptr;
};

// Alt+Enter toggles full screen in every state; the state never sees it (a
// plain Enter would start or confirm something).
bool isFullScreenToggle(const SDL_Event& event);

// An iconified window is not drawn; the loop waits this long in place of a
// frame. Shorter than a physics step, so play keeps its speed.
constexpr uint32_t HIDDEN_FRAME_SLEEP_MS = 10;

// Key autorepeat, where the library lets it through, comes as a release and
// a press of the same held key back to back: while the crafts are driven,
// both are dropped, so a play state sees a key held from its press to its
// real release. (SDL2 marks the repeated presses it knows of instead; the
// loop drops those everywhere.)
void dropAutorepeatPairs(std::vector<SDL_Event>& events);

// The key record handed to handleEvent: the keysym of a key event, all
// zero for any other event.
SDL_Keysym keyRecordOf(const SDL_Event& event);

class MainLoop {
public:
    // Reads the clock at once, so the first update's elapsed time covers
    // everything done before the first iteration.
    explicit MainLoop(LoopIo io);

    // Clock, frame, every pending event, update. Returns false once a
    // handler returned -1 or the window was closed; that iteration still
    // delivers the whole queue and one update. While the window is
    // iconified the frame is a short sleep instead. A key's autorepeat
    // never reaches a state: it sees a key from its press to its release.
    bool runIteration();

    // Every iteration lasts at least `ms` (0: as fast as it can).
    void holdFramesTo(uint32_t ms) { minimumFrameMs_ = ms; }

private:
    // Hands one event to the current state (looked up per event: after a
    // switch the rest goes to the new state).
    void deliver(const SDL_Event& event);
    // Window, key and pad events the loop itself takes; true when the
    // state does not see the event.
    bool takeWindowEvent(const SDL_Event& event);
    bool takeKeyEvent(const SDL_Event& event);
    bool takePadEvent(const SDL_Event& event);
    void holdFrame(uint32_t frameStart);

    LoopIo io_;
    GamepadTranslator pads_;
    uint32_t lastTick_;
    int frameCounter_ = 0;
    uint32_t accumulatorMs_ = 0;
    uint32_t minimumFrameMs_ = 0;
    bool quit_ = false;
    bool windowShown_ = true;  // cleared while the window is iconified
    // The key press just delivered switched screens: the text it typed
    // belongs to the screen left, not to the next one.
    bool dropTypedText_ = false;
};
