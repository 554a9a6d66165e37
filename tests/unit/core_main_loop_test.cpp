#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

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
    int handleEvent(SDL_Event event, SDL_keysym key) override {
        ++eventsSeen;
        lastKey = key;
        callLog.push_back(name_ + ".event" + std::to_string(event.user.code));
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
    SDL_keysym lastKey{};
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
                      [] { callLog.push_back("toggle"); },
                      [this] {
                          std::vector<int> lost;
                          lost.swap(lostPads);
                          return lost;
                      }};
    }
    // The window's activity: state SDL_APPACTIVE is iconified (gain 0) or
    // shown again (gain 1); the focus states alone leave it on screen.
    void queueActivity(uint8_t state, uint8_t gain) {
        SDL_Event event{};
        event.type = SDL_ACTIVEEVENT;
        event.active.state = state;
        event.active.gain = gain;
        queue.push_back(event);
    }
    void queueUserEvent(int code) {
        SDL_Event event{};
        event.type = SDL_USEREVENT;
        event.user.code = code;
        queue.push_back(event);
    }

    std::vector<int> lostPads;
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
    key.key.keysym.scancode = 36;
    key.key.keysym.sym = SDLK_RETURN;
    key.key.keysym.mod = KMOD_LSHIFT;
    key.key.keysym.unicode = 'A';
    queue.push_back(key);
    loop.runIteration();
    EXPECT_EQ(first.lastKey.scancode, 36);
    EXPECT_EQ(first.lastKey.sym, SDLK_RETURN);
    EXPECT_EQ(first.lastKey.mod, KMOD_LSHIFT);
    EXPECT_EQ(first.lastKey.unicode, 'A');
}

TEST_F(MainLoopOrder, AltEnterTogglesFullScreenAndNoStateSeesIt) {
    MainLoop loop(io());
    auto keyDown = [](SDLKey sym, SDLMod mod) {
        SDL_Event key{};
        key.type = SDL_KEYDOWN;
        key.key.keysym.sym = sym;
        key.key.keysym.mod = mod;
        return key;
    };
    queue.push_back(keyDown(SDLK_RETURN, KMOD_LALT));
    queue.push_back(keyDown(SDLK_KP_ENTER, KMOD_RALT));
    queue.push_back(keyDown(SDLK_RETURN, KMOD_NONE));  // a plain Enter is the state's
    loop.runIteration();
    EXPECT_EQ(std::count(callLog.begin(), callLog.end(), "toggle"), 2);
    EXPECT_EQ(first.eventsSeen, 1);
    EXPECT_EQ(first.lastKey.sym, SDLK_RETURN);
    EXPECT_EQ(first.lastKey.mod, KMOD_NONE);
}

// A pad reaches the state through handleEvent as the keys it stands for:
// cursor keys on a screen, the player's bound keys in a run.
TEST_F(MainLoopOrder, GamepadEventsArriveAsKeysThroughTheKeyboardsPath) {
    class DrivingState : public RecordingState {
    public:
        DrivingState() : RecordingState("driving") {}
        bool drivesCrafts() const override { return true; }
        bool takePadButton(int, int button) override { return button == 9; }
    } driving;
    stateTable[1] = &driving;
    MainLoop loop(io());
    SDL_Event stick{};
    stick.type = SDL_JOYAXISMOTION;
    stick.jaxis.axis = 1;
    stick.jaxis.value = -30000;
    queue.push_back(stick);
    loop.runIteration();
    EXPECT_EQ(first.lastKey.sym, SDLK_UP) << "a screen gets the cursor key";

    switchToState(1);
    stick.jaxis.value = 0;
    queue.push_back(stick);  // lets go of what the menu got
    stick.jaxis.value = -30000;
    queue.push_back(stick);
    loop.runIteration();
    EXPECT_EQ(driving.lastKey.sym, SDLK_UP) << "released";
    EXPECT_EQ(driving.eventsSeen, 2);
    queue.push_back(stick);
    loop.runIteration();
    EXPECT_EQ(driving.eventsSeen, 2) << "a stick held further is no new press";
    SDL_Event taken{};
    taken.type = SDL_JOYBUTTONDOWN;
    taken.jbutton.button = 9;
    queue.push_back(taken);
    loop.runIteration();
    EXPECT_EQ(driving.eventsSeen, 2) << "a button the state takes stands for no key";

    lostPads.push_back(0);  // pulled out with the stick up
    loop.runIteration();
    EXPECT_EQ(driving.eventsSeen, 3);
    EXPECT_EQ(driving.lastKey.sym, settings.keys[KEY_FORWARD2]);
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
    queueActivity(SDL_APPACTIVE, 0);
    loop.runIteration();  // drawn before the event arrived
    callLog.clear();
    now += 3;
    loop.runIteration();
    loop.runIteration();
    EXPECT_EQ(callLog, (std::vector<std::string>{"sleep10", "first.update", "sleep10", "first.update"}));
    // The sleep counts as elapsed time: the game clock keeps its pace.
    EXPECT_EQ(first.updates, (std::vector<int>{0, 3, 10}));

    callLog.clear();
    queueActivity(SDL_APPACTIVE | SDL_APPINPUTFOCUS, 1);
    loop.runIteration();  // the event comes after this iteration's frame
    loop.runIteration();
    EXPECT_EQ(callLog, (std::vector<std::string>{"sleep10", "first.event0", "first.update", "render",
                                                 "first.draw", "first.update"}));
}

TEST_F(MainLoopOrder, LosingOnlyTheFocusKeepsDrawing) {
    MainLoop loop(io());
    queueActivity(SDL_APPINPUTFOCUS | SDL_APPMOUSEFOCUS, 0);
    loop.runIteration();
    callLog.clear();
    loop.runIteration();
    EXPECT_EQ(callLog, (std::vector<std::string>{"render", "first.draw", "first.update"}));
}

TEST_F(MainLoopOrder, ActivityEventsStillReachTheState) {
    MainLoop loop(io());
    queueActivity(SDL_APPACTIVE, 0);
    queueActivity(SDL_APPACTIVE, 1);
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
