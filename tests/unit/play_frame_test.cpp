#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <string>

#include "app/main_loop.h"
#include "core/globals.h"
#include "core/held_keys.h"
#include "modes/multi/castle_run.h"
#include "modes/multi/race_run.h"
#include "modes/single/single.h"
#include "modes/timeattack/time_attack.h"
#include "support/sim_fixtures.h"
#include "support/sim_levels.h"

// Every play mode at its true speed whatever the frame rate, started by a
// key already held down: the states' and runs' own update, fed frames as a
// slow or a fast machine would.
namespace {

const char* const LONG_STRAIGHT = "block plain pos=800,0,0 size=1600,500,200000\n";
// Forward alone ends in the gap at 20000, again and again.
const char* const GAPPED =
    "block plain pos=800,0,0 size=1600,500,20000\n"
    "block plain pos=800,0,24000 size=1600,500,176000\n";
// A castle arena's stored half: start, A's gate, the way to the middle
// (with the gap when `gapped`).
std::string arena(bool gapped) {
    return std::string("block plain pos=800,0,0 size=1600,500,3000\n"
                       "block GOAL pos=800,0,3000 size=1600,500,1000\n") +
           (gapped ? "block plain pos=800,0,4000 size=1600,500,16000\n"
                     "block plain pos=800,0,24000 size=1600,500,10000\n"
                   : "block plain pos=800,0,4000 size=1600,500,30000\n");
}

constexpr int DRIVE_MS = 4200;  // 199 steps at any frame length below

struct Progress {
    int32_t z[2];
    int32_t timeMs;
    bool operator==(const Progress& o) const { return z[0] == o.z[0] && z[1] == o.z[1] && timeMs == o.timeMs; }
};

template <class Update>
Progress feedFrames(int frameMs, Update update, const Craft& a, const Craft* b) {
    for (int ms = 0; ms < DRIVE_MS; ms += frameMs) update(frameMs);
    return {{a.z, b ? b->z : 0}, a.timeMs};
}

// Each mode starts its run with the keys held down now and is fed DRIVE_MS
// in frames of `frameMs`, on a straight or (`gapped`) a track it falls off.
template <class State>
Progress onePlayer(int frameMs, bool gapped) {
    State state;
    state.run.level = levelFromText(gapped ? GAPPED : LONG_STRAIGHT);
    state.enter();
    return feedFrames(frameMs, [&](int ms) { state.update(ms); }, state.run.craft, nullptr);
}

void start(RaceRun& run, bool gapped) {
    run.level = levelFromText(gapped ? GAPPED : LONG_STRAIGHT);
    run.start(9, 8);
}

void start(CastleRun& run, bool gapped) {
    EXPECT_EQ(run.useStoredHalf(levelFromText(arena(gapped))), 0);
    run.start(5, false, 8);
}

template <class Run>
Progress twoPlayer(int frameMs, bool gapped) {
    Run run;
    start(run, gapped);
    return feedFrames(frameMs, [&](int ms) { run.update(ms); }, run.players[0].craft, &run.players[1].craft);
}

class PlayFrame : public ::testing::Test {
protected:
    void SetUp() override {
        setProjectionSetter(nullptr);
        releaseAllKeys();
    }
    void TearDown() override {
        releaseAllKeys();
        setProjectionSetter(nullptr);
    }

    SimServices services;
};

TEST_F(PlayFrame, EveryModeStartedWithForwardHeldDrivesTheSameTrackAtAnyFrameRate) {
    const struct {
        const char* name;
        Progress (*drive)(int frameMs, bool gapped);
        int32_t startZ[2];  // 0: no such craft
    } modes[] = {{"time attack", onePlayer<TimeAttack>, {500, 0}},
                 {"single player", onePlayer<Single>, {500, 0}},
                 {"race", twoPlayer<RaceRun>, {500, 500}},
                 {"castle attack", twoPlayer<CastleRun>, {500, 67500}}};
    setKeyDown(settings.keys[KEY_FORWARD2], true);  // Player 1, and the one player
    setKeyDown(settings.keys[KEY_FORWARD1], true);  // Player 2
    for (const auto& mode : modes) {
        for (bool gapped : {false, true}) {
            const Progress atFullSpeed = mode.drive(1, gapped);
            for (int side = 0; side < 2; ++side)
                EXPECT_TRUE(mode.startZ[side] == 0 || atFullSpeed.z[side] != mode.startZ[side])
                    << mode.name << ": craft " << side << " moves off without a fresh press"
                    << (gapped ? ", again after each fall" : "");
            for (int frameMs : {12, 21, 40, 100, 150})
                EXPECT_EQ(mode.drive(frameMs, gapped), atFullSpeed) << mode.name << " at " << frameMs << " ms a frame";
        }
    }
    EXPECT_EQ(onePlayer<TimeAttack>(100, false).timeMs, 199 * STEP_MS) << "4.2 s of frames: 199 steps on the clock";
}

// X's key autorepeat where the library lets it through: a release and a
// press of the held key back to back, in every frame of the main loop.
TEST_F(PlayFrame, AutorepeatNeverReachesThePlayStateAsAReleaseAndLosesNoStep) {
    struct Watched : TimeAttack {
        int handleEvent(SDL_Event event, SDL_Keysym key) override {
            releases += event.type == SDL_KEYUP;
            return TimeAttack::handleEvent(event, key);
        }
        int releases = 0;
    } state;
    state.run.level = levelFromText(LONG_STRAIGHT);
    state.enter();
    Gamestate* saved = currentState;
    currentState = &state;
    uint32_t now = 0;
    std::deque<SDL_Event> queue;
    const auto key = [&queue](Uint32 type) {
        SDL_Event event{};
        event.type = type;
        event.key.keysym.sym = settings.keys[KEY_FORWARD2];
        queue.push_back(event);
    };
    MainLoop loop(LoopIo{[&] { return now; },
                         [&](SDL_Event& event) {
                             if (queue.empty()) return false;
                             event = queue.front();
                             queue.pop_front();
                             return true;
                         },
                         [] {}, [&](uint32_t ms) { now += ms; }, {}, {}});
    key(SDL_KEYDOWN);
    for (int frame = 0; frame < 150; ++frame, now += 21) {
        loop.runIteration();
        key(SDL_KEYUP);
        key(SDL_KEYDOWN);
    }
    currentState = saved;
    EXPECT_EQ(state.releases, 0);
    EXPECT_TRUE(keyIsDown(settings.keys[KEY_FORWARD2]));
    EXPECT_GT(state.run.craft.z, 40000) << "driven all the way";
}

}  // namespace
