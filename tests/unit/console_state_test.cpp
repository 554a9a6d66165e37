#include <gtest/gtest.h>

#include <string>

#include "core/gamestate.h"
#include "core/globals.h"
#include "core/settings.h"
#include "frontend/console.h"
#include "frontend/console_history.h"
#include "modes/multi/castle_m.h"
#include "modes/multi/race_m.h"
#include "modes/single/single.h"
#include "modes/timeattack/time_attack.h"
#include "sim/physics.h"

namespace {

// A state to return to, so closing the console can be observed.
class PausedState : public Gamestate {
public:
    void enter() override { ++enters; }
    int handleEvent(SDL_Event, SDL_Keysym) override { return 0; }
    void draw() override {}
    void update(int) override {}
    int enters = 0;
};

class ConsoleStateTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedSettings = settings;
        savedDebug = debugView;
        savedCurrent = currentState;
        savedReturn = returnState;
        savedConsole = stateTable[STATE_CONSOLE];
        stateTable[STATE_CONSOLE] = &console;
        console.enter();
        currentState = &paused;
        openConsole();
    }
    void TearDown() override {
        stateTable[STATE_CONSOLE] = savedConsole;
        currentState = savedCurrent;
        returnState = savedReturn;
        settings = savedSettings;
        debugView = savedDebug;
        consoleHistory.clear();
    }

    // One key press as SDL delivers it: the key, then the text it typed.
    void press(SDL_Keycode sym, char typed = 0, Uint32 type = SDL_KEYDOWN) {
        SDL_Event event{};
        event.type = type;
        event.key.type = type;
        event.key.keysym.sym = sym;
        console.handleEvent(event, event.key.keysym);
        if (typed == 0 || type != SDL_KEYDOWN) return;
        SDL_Event text{};
        text.type = SDL_TEXTINPUT;
        text.text.text[0] = typed;
        console.handleEvent(text, SDL_Keysym{});
    }
    void type(const std::string& text) {
        for (char c : text) press(static_cast<SDL_Keycode>(c), c);
    }
    void enter() { press(SDLK_RETURN); }

    Console console;
    PausedState paused;
    Settings savedSettings;
    bool savedDebug = false;
    Gamestate* savedCurrent = nullptr;
    Gamestate* savedReturn = nullptr;
    Gamestate* savedConsole = nullptr;
};

TEST_F(ConsoleStateTest, OpeningPausesWithoutEnter) {
    EXPECT_EQ(currentState, &console);
    EXPECT_EQ(returnState, &paused);
    EXPECT_EQ(paused.enters, 0);
}

TEST_F(ConsoleStateTest, TypedCharactersBuildTheInputLine) {
    type("debug on");
    EXPECT_EQ(console.input(), "debug on");
    press(SDLK_BACKSPACE, 8);
    EXPECT_EQ(console.input(), "debug o");
    // Only 32..125 are taken: '~' is not.
    press(SDLK_BACKQUOTE, '~');
    EXPECT_NE(console.input().back(), '~');
}

TEST_F(ConsoleStateTest, OnlyCharactersFromBlankToClosingBraceAreTyped) {
    press(SDLK_SPACE, ' ');
    press(SDLK_RIGHTBRACKET, '}');
    press(SDLK_a, 31);
    press(SDLK_BACKQUOTE, '~');
    press(SDLK_a, 0xe9);  // a letter beyond ASCII
    EXPECT_EQ(console.input(), " }");
    // Backspace on an empty line removes nothing and types nothing.
    press(SDLK_BACKSPACE, 8);
    press(SDLK_BACKSPACE, 8);
    press(SDLK_BACKSPACE, 8);
    EXPECT_EQ(console.input(), "");
}

TEST_F(ConsoleStateTest, KeyReleasesAreIgnored) {
    press(SDLK_a, 'a', SDL_KEYUP);
    EXPECT_EQ(console.input(), "");
}

// Held forward, the console opened, forward let go, the console closed: in
// every play mode the craft no longer drives by itself.
TEST(ConsoleOverPlay, AKeyLetGoWhileOpenIsLetGoInEveryPlayMode) {
    Console console;
    Gamestate* savedConsole = stateTable[STATE_CONSOLE];
    Gamestate* savedCurrent = currentState;
    Gamestate* savedReturn = returnState;
    stateTable[STATE_CONSOLE] = &console;
    Single single;
    TimeAttack timeAttack;
    RaceM race;
    CastleM castle;
    struct Case {
        const char* mode;
        Gamestate* state;
        std::vector<const Craft*> crafts;
    } cases[] = {
        {"single", &single, {&single.run.craft}},
        {"time attack", &timeAttack, {&timeAttack.run.craft}},
        {"race", &race, {&race.run.players[0].craft, &race.run.players[1].craft}},
        {"castle", &castle, {&castle.run.players[0].craft, &castle.run.players[1].craft}},
    };
    const auto send = [](Uint32 type, int sym) {
        SDL_Event event{};
        event.type = type;
        event.key.type = type;
        event.key.keysym.sym = static_cast<SDL_Keycode>(sym);
        currentState->handleEvent(event, event.key.keysym);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        currentState = c.state;
        for (int forward : {settings.keys[KEY_FORWARD1], settings.keys[KEY_FORWARD2]}) send(SDL_KEYDOWN, forward);
        send(SDL_KEYDOWN, SDLK_TAB);
        ASSERT_EQ(currentState, &console);
        for (int forward : {settings.keys[KEY_FORWARD1], settings.keys[KEY_FORWARD2]}) send(SDL_KEYUP, forward);
        send(SDL_KEYDOWN, SDLK_TAB);
        ASSERT_EQ(currentState, c.state);
        for (const Craft* craft : c.crafts) {
            EXPECT_FALSE(keyHeld(*craft, settings.keys[KEY_FORWARD1]));
            EXPECT_FALSE(keyHeld(*craft, settings.keys[KEY_FORWARD2]));
        }
    }
    stateTable[STATE_CONSOLE] = savedConsole;
    currentState = savedCurrent;
    returnState = savedReturn;
}

// "glow off", Enter, "debug on", Enter runs "debug on"; Up brings the
// earlier commands back, Down returns to the line being typed.
TEST_F(ConsoleStateTest, EnterClearsTheLineAndUpRecallsEarlierCommands) {
    type("glow off");
    enter();
    EXPECT_EQ(console.input(), "");
    type("debug on");
    enter();
    EXPECT_TRUE(debugView);
    EXPECT_STREQ(consoleHistory.line(0), "Debugmode now on");
    type("det");
    press(SDLK_UP);
    EXPECT_EQ(console.input(), "debug on");
    press(SDLK_UP);
    EXPECT_EQ(console.input(), "glow off");
    press(SDLK_DOWN);
    press(SDLK_DOWN);
    EXPECT_EQ(console.input(), "det");
    type("ails 2");
    enter();
    press(SDLK_UP);
    enter();
    EXPECT_STREQ(consoleHistory.line(0), "Details are now on high");
    EXPECT_STREQ(consoleHistory.line(1), "Details are now on high");
}

TEST_F(ConsoleStateTest, TabClosesBackToThePausedState) {
    type("abc");
    press(SDLK_TAB, '\t');
    EXPECT_EQ(currentState, &paused);
    EXPECT_EQ(paused.enters, 0);
    EXPECT_EQ(console.input(), "abc");
}

// The backquote's text goes with the key that closed (the main loop drops
// it): the line keeps what was typed.
TEST_F(ConsoleStateTest, BackquoteClosesWithoutTypingItsCharacter) {
    type("abc");
    press(SDLK_BACKQUOTE);
    EXPECT_EQ(currentState, &paused);
    EXPECT_EQ(console.input(), "abc");
}

TEST_F(ConsoleStateTest, InputStopsAt127Characters) {
    type(std::string(130, 'a'));
    EXPECT_EQ(console.input().size(), 127u);
    // A full line still runs on Enter.
    enter();
    EXPECT_STREQ(consoleHistory.line(8), "Available commands:");
}

TEST_F(ConsoleStateTest, EnterClearsHistoryAndInput) {
    type("debug on");
    enter();
    type("x");
    console.enter();
    EXPECT_EQ(console.input(), "");
    press(SDLK_UP);
    EXPECT_EQ(console.input(), "") << "no command is remembered";
    EXPECT_EQ(consoleHistory.lineCount(), 0);
    EXPECT_STREQ(consoleHistory.line(0), "");
}

}  // namespace
