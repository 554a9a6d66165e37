#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <set>
#include <string>
#include <vector>

#include "app/gamepad_port.h"
#include "app/main_loop.h"
#include "app/render_frame.h"
#include "core/gamestate.h"
#include "core/globals.h"
#include "core/settings.h"

namespace {

std::vector<std::string> callLog;

// Records every call; its handler can switch state or ask to quit on the
// n-th event it sees.
class RecordingState : public Gamestate {
public:
    explicit RecordingState(std::string name) : name_(std::move(name)) {}
    void enter() override { callLog.push_back(name_ + ".enter"); }
    int handleEvent(SDL_Event event, SDL_Keysym key) override {
        ++eventsSeen;
        lastKey = key;
        callLog.push_back(name_ + ".event" + std::to_string(event.type == SDL_USEREVENT ? event.user.code : int(event.type)));
        if (eventsSeen == switchOnEvent) switchToState(switchTo);
        return eventsSeen == quitOnEvent ? -1 : 0;
    }
    void draw() override { callLog.push_back(name_ + ".draw"); }
    void update(int elapsedMs) override {
        updates.push_back(elapsedMs);
        callLog.push_back(name_ + ".update");
    }

    int eventsSeen = 0;
    int switchOnEvent = -1;
    int switchTo = 0;
    int quitOnEvent = -1;
    SDL_Keysym lastKey{};
    std::vector<int> updates;

private:
    std::string name_;
};

// Two fake states in slots 0 and 1, a settable clock and an event queue.
class MainLoopOrder : public ::testing::Test {
protected:
    void SetUp() override {
        for (int id = 0; id < STATE_COUNT; ++id) savedTable[id] = stateTable[id];
        savedCurrent = currentState;
        stateTable[0] = &first;
        stateTable[1] = &second;
        currentState = &first;
        callLog.clear();
        framesPerSecond = 0;
    }
    void TearDown() override {
        for (int id = 0; id < STATE_COUNT; ++id) stateTable[id] = savedTable[id];
        currentState = savedCurrent;
    }

    LoopIo io() {
        return LoopIo{[this] { return now; },
                      [this](SDL_Event& event) {
                          if (queue.empty()) return false;
                          event = queue.front();
                          queue.pop_front();
                          return true;
                      },
                      [this] {
                          callLog.push_back("render");
                          currentState->draw();
                      },
                      [this](uint32_t ms) {
                          callLog.push_back("sleep" + std::to_string(ms));
                          now += ms;
                      },
                      [] { callLog.push_back("toggle"); }};
    }
    // Iconified (minimized or hidden) and shown again; losing the focus
    // alone leaves the window on screen.
    void queueWindow(Uint8 what) {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.event = what;
        queue.push_back(event);
    }
    void queueKey(Uint32 type, SDL_Keycode sym, Uint16 mod = KMOD_NONE, Uint8 repeat = 0) {
        SDL_Event key{};
        key.type = type;
        key.key.keysym.sym = sym;
        key.key.keysym.mod = mod;
        key.key.repeat = repeat;
        queue.push_back(key);
    }
    void queueText(const char* text) {
        SDL_Event event{};
        event.type = SDL_TEXTINPUT;
        std::snprintf(event.text.text, sizeof event.text.text, "%s", text);
        queue.push_back(event);
    }
    void queueUserEvent(int code) {
        SDL_Event event{};
        event.type = SDL_USEREVENT;
        event.user.code = code;
        queue.push_back(event);
    }

    RecordingState first{"first"};
    RecordingState second{"second"};
    uint32_t now = 0;
    std::deque<SDL_Event> queue;
    Gamestate* savedTable[STATE_COUNT];
    Gamestate* savedCurrent = nullptr;
};

TEST_F(MainLoopOrder, FirstUpdateIncludesStartUpTime) {
    now = 40;
    MainLoop loop(io());
    now = 900;  // start-up took 860 ms
    EXPECT_TRUE(loop.runIteration());
    now = 917;
    EXPECT_TRUE(loop.runIteration());
    EXPECT_EQ(first.updates, (std::vector<int>{860, 17}));
}

TEST_F(MainLoopOrder, FrameThenEventsThenUpdate) {
    MainLoop loop(io());
    queueUserEvent(1);
    queueUserEvent(2);
    loop.runIteration();
    EXPECT_EQ(callLog, (std::vector<std::string>{"render", "first.draw", "first.event1", "first.event2",
                                                 "first.update"}));
}

TEST_F(MainLoopOrder, EventsAfterASwitchGoToTheNewState) {
    MainLoop loop(io());
    first.switchOnEvent = 1;
    first.switchTo = 1;
    queueUserEvent(1);
    queueUserEvent(2);
    queueUserEvent(3);
    EXPECT_TRUE(loop.runIteration());
    EXPECT_EQ(callLog, (std::vector<std::string>{"render", "first.draw", "first.event1", "second.enter",
                                                 "second.event2", "second.event3", "second.update"}));
    EXPECT_TRUE(first.updates.empty());
}

TEST_F(MainLoopOrder, QuitStillDeliversTheQueueAndOneUpdate) {
    MainLoop loop(io());
    first.quitOnEvent = 1;
    queueUserEvent(1);
    queueUserEvent(2);
    queueUserEvent(3);
    now = 25;
    EXPECT_FALSE(loop.runIteration());
    EXPECT_EQ(first.eventsSeen, 3);
    EXPECT_EQ(first.updates, (std::vector<int>{25}));
    EXPECT_TRUE(queue.empty());
}

TEST_F(MainLoopOrder, WindowCloseEndsTheLoopAfterTheState) {
    MainLoop loop(io());
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    queue.push_back(quit);
    EXPECT_FALSE(loop.runIteration());
    EXPECT_EQ(first.eventsSeen, 1);
    EXPECT_EQ(first.updates.size(), 1u);
}

TEST_F(MainLoopOrder, KeyRecordReachesTheHandler) {
    MainLoop loop(io());
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.keysym.scancode = SDL_Scancode(36);
    key.key.keysym.sym = SDLK_RETURN;
    key.key.keysym.mod = KMOD_LSHIFT;
    queue.push_back(key);
    loop.runIteration();
    EXPECT_EQ(first.lastKey.scancode, 36);
    EXPECT_EQ(first.lastKey.sym, SDLK_RETURN);
    EXPECT_EQ(first.lastKey.mod, KMOD_LSHIFT);
}

TEST_F(MainLoopOrder, AltEnterTogglesFullScreenAndNoStateSeesIt) {
    MainLoop loop(io());
    queueKey(SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT);
    queueKey(SDL_KEYDOWN, SDLK_KP_ENTER, KMOD_RALT);
    queueKey(SDL_KEYDOWN, SDLK_RETURN);  // a plain Enter is the state's
    loop.runIteration();
    EXPECT_EQ(std::count(callLog.begin(), callLog.end(), "toggle"), 2);
    EXPECT_EQ(first.eventsSeen, 1);
    EXPECT_EQ(first.lastKey.sym, SDLK_RETURN);
    EXPECT_EQ(first.lastKey.mod, KMOD_NONE);
}

// A held key sees no autorepeat; the text of a key that switched screens
// stays behind (the console's own opening key types nothing into it).
TEST_F(MainLoopOrder, AutorepeatAndTheTextOfASwitchingKeyReachNoState) {
    MainLoop loop(io());
    first.switchOnEvent = 2;
    first.switchTo = 1;
    queueKey(SDL_KEYDOWN, SDLK_UP);
    queueKey(SDL_KEYDOWN, SDLK_UP, KMOD_NONE, 1);
    queueKey(SDL_KEYDOWN, SDLK_BACKQUOTE);  // switches
    queueText("`");
    queueText("a");
    loop.runIteration();
    EXPECT_EQ(callLog, (std::vector<std::string>{"render", "first.draw", "first.event" + std::to_string(SDL_KEYDOWN),
                                                 "first.event" + std::to_string(SDL_KEYDOWN), "second.enter",
                                                 "second.event" + std::to_string(SDL_TEXTINPUT), "second.update"}));
}

// Real pads: SDL's virtual controllers through its controller layer, the
// game's port and the main loop. Pad 0 is Player 1 (the second key group),
// pad 1 Player 2; a pad pulled out lets go of all it held, and plugged in
// again it starts afresh.
class PadsThroughTheLoop : public MainLoopOrder {
protected:
    // Records the keys it is handed: "+code" pressed, "-code" released.
    class KeyLog : public RecordingState {
    public:
        KeyLog() : RecordingState("driving") {}
        int handleEvent(SDL_Event event, SDL_Keysym key) override {
            if (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP)
                keys.insert((event.type == SDL_KEYDOWN ? "+" : "-") + std::to_string(key.sym));
            return 0;
        }
        bool drivesCrafts() const override { return driving; }
        bool takePadButton(int, int button) override { return button == SDL_CONTROLLER_BUTTON_Y; }
        std::multiset<std::string> keys;
        bool driving = true;
    };
    void SetUp() override {
        MainLoopOrder::SetUp();
        stateTable[0] = currentState = &log;
        ASSERT_TRUE(port.open("/nonexistent/gamecontrollerdb.txt")) << SDL_GetError();
    }
    void TearDown() override {
        port.close();
        while (SDL_NumJoysticks() > 0) SDL_JoystickDetachVirtual(0);
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
        MainLoopOrder::TearDown();
    }
    LoopIo sdlIo() {
        LoopIo io = MainLoopOrder::io();
        io.pollEvent = [](SDL_Event& event) { return SDL_PollEvent(&event) != 0; };
        io.pads = &port;
        return io;
    }
    SDL_Joystick* plug() {
        return SDL_JoystickOpen(SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                                          SDL_CONTROLLER_BUTTON_MAX, 0));
    }
    void unplug(SDL_Joystick* pad) {
        const SDL_JoystickID instance = SDL_JoystickInstanceID(pad);
        SDL_JoystickClose(pad);
        for (int index = 0; index < SDL_NumJoysticks(); ++index)
            if (SDL_JoystickGetDeviceInstanceID(index) == instance) SDL_JoystickDetachVirtual(index);
    }
    void press(SDL_Joystick* pad, int button, bool down) { SDL_JoystickSetVirtualButton(pad, button, down); }
    // One frame of the loop; the keys the state was handed in it, in
    // order of their codes (SDL reports a frame's buttons in its own order).
    std::multiset<std::string> frame(MainLoop& loop) {
        log.keys.clear();
        loop.runIteration();
        return log.keys;
    }
    std::multiset<std::string> keys(std::initializer_list<std::pair<char, int>> changes) {
        std::multiset<std::string> found;
        for (auto [sign, code] : changes) found.insert(sign + std::to_string(code));
        return found;
    }
    static int bound(int binding) { return settings.keys[binding]; }

    KeyLog log;
    GamepadPort port;
};

TEST_F(PadsThroughTheLoop, PlugUseAndPullOutWhileHeld) {
    MainLoop loop(sdlIo());
    SDL_Joystick *first = plug(), *second = plug();
    frame(loop);
    press(first, SDL_CONTROLLER_BUTTON_A, true);
    press(first, SDL_CONTROLLER_BUTTON_DPAD_UP, true);
    press(second, SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_EQ(frame(loop), keys({{'+', bound(KEY_JUMP2)}, {'+', bound(KEY_FORWARD2)}, {'+', bound(KEY_JUMP1)}}));
    press(second, SDL_CONTROLLER_BUTTON_Y, true);  // taken by the state: no key
    EXPECT_EQ(frame(loop), keys({}));

    unplug(first);  // Player 1's keys go, Player 2's stay held
    EXPECT_EQ(frame(loop), keys({{'-', bound(KEY_JUMP2)}, {'-', bound(KEY_FORWARD2)}}));
    SDL_Joystick* again = plug();  // Player 1's place again
    frame(loop);
    press(again, SDL_CONTROLLER_BUTTON_A, true);
    press(again, SDL_CONTROLLER_BUTTON_DPAD_UP, true);
    EXPECT_EQ(frame(loop), keys({{'+', bound(KEY_JUMP2)}, {'+', bound(KEY_FORWARD2)}}));
    press(again, SDL_CONTROLLER_BUTTON_A, false);
    press(again, SDL_CONTROLLER_BUTTON_DPAD_UP, false);
    EXPECT_EQ(frame(loop), keys({{'-', bound(KEY_JUMP2)}, {'-', bound(KEY_FORWARD2)}}));

    log.driving = false;  // on a screen the pad is the cursor keys and Return
    press(again, SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
    press(again, SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_EQ(frame(loop), keys({{'+', SDLK_DOWN}, {'+', SDLK_RETURN}}));
    unplug(second);
    EXPECT_EQ(frame(loop), keys({{'-', bound(KEY_JUMP1)}}));
}

TEST_F(MainLoopOrder, FramesPerSecondCountsIterationsOfEachSecond) {
    MainLoop loop(io());
    for (int frame = 1; frame <= 9; ++frame) {
        now += 100;
        loop.runIteration();
        EXPECT_EQ(framesPerSecond, 0) << "frame " << frame;
    }
    now += 150;  // 1050 ms accumulated over ten frames
    loop.runIteration();
    EXPECT_EQ(framesPerSecond, 10);
    for (int frame = 1; frame <= 4; ++frame) {
        now += 200;  // 50 ms carried over: the fifth frame reaches 1050
        loop.runIteration();
    }
    EXPECT_EQ(framesPerSecond, 10);
    now += 200;
    loop.runIteration();
    EXPECT_EQ(framesPerSecond, 5);
}

TEST_F(MainLoopOrder, SlowFrameKeepsOnlyTheRemainder) {
    MainLoop loop(io());
    now = 2500;
    loop.runIteration();
    EXPECT_EQ(framesPerSecond, 1);
    now += 499;  // 500 + 499: still below a second
    loop.runIteration();
    EXPECT_EQ(framesPerSecond, 1);
    now += 1;
    loop.runIteration();
    EXPECT_EQ(framesPerSecond, 2);
}

TEST_F(MainLoopOrder, ElapsedTimeSurvivesTheTickCounterWrapping) {
    now = 0xFFFFFF00u;
    MainLoop loop(io());
    now = 0x100u;
    loop.runIteration();
    EXPECT_EQ(first.updates, (std::vector<int>{512}));
}

TEST_F(MainLoopOrder, IconifiedWindowSleepsInsteadOfDrawingUntilShownAgain) {
    MainLoop loop(io());
    queueWindow(SDL_WINDOWEVENT_MINIMIZED);
    loop.runIteration();  // drawn before the event arrived
    callLog.clear();
    now += 3;
    loop.runIteration();
    loop.runIteration();
    EXPECT_EQ(callLog, (std::vector<std::string>{"sleep10", "first.update", "sleep10", "first.update"}));
    // The sleep counts as elapsed time: the game clock keeps its pace.
    EXPECT_EQ(first.updates, (std::vector<int>{0, 3, 10}));

    callLog.clear();
    queueWindow(SDL_WINDOWEVENT_RESTORED);
    loop.runIteration();  // the event comes after this iteration's frame
    loop.runIteration();
    EXPECT_EQ(callLog, (std::vector<std::string>{"sleep10", "first.event" + std::to_string(SDL_WINDOWEVENT),
                                                 "first.update", "render",
                                                 "first.draw", "first.update"}));
}

TEST_F(MainLoopOrder, LosingOnlyTheFocusKeepsDrawing) {
    MainLoop loop(io());
    queueWindow(SDL_WINDOWEVENT_FOCUS_LOST);
    queueWindow(SDL_WINDOWEVENT_LEAVE);
    loop.runIteration();
    callLog.clear();
    loop.runIteration();
    EXPECT_EQ(callLog, (std::vector<std::string>{"render", "first.draw", "first.update"}));
}

TEST_F(MainLoopOrder, ActivityEventsStillReachTheState) {
    MainLoop loop(io());
    queueWindow(SDL_WINDOWEVENT_HIDDEN);  // unmapped, as iconifying does
    queueWindow(SDL_WINDOWEVENT_SHOWN);
    loop.runIteration();
    EXPECT_EQ(first.eventsSeen, 2);
    callLog.clear();
    loop.runIteration();  // shown again within the same poll: drawn
    EXPECT_EQ(callLog, (std::vector<std::string>{"render", "first.draw", "first.update"}));
}

class GlowGate : public ::testing::Test {
protected:
    void SetUp() override { saved = settings; savedShaders = shadersActive; }
    void TearDown() override { settings = saved; shadersActive = savedShaders; }
    Settings saved;
    bool savedShaders = false;
};

TEST_F(GlowGate, OnlyUltraDetailWithShadersRunsTheGlowPass) {
    shadersActive = true;
    settings.details = 3;
    EXPECT_TRUE(glowFrameEnabled());
    for (int details : {0, 1, 2, 4}) {
        settings.details = details;
        EXPECT_FALSE(glowFrameEnabled()) << "details " << details;
    }
    shadersActive = false;
    settings.details = 3;
    EXPECT_FALSE(glowFrameEnabled());
}

}  // namespace
