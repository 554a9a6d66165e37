#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/gamepad.h"
#include "core/settings.h"
#include "support/temp_dir.h"

namespace {

SDL_Event axis(int pad, int which, int value) {
    SDL_Event event{};
    event.type = SDL_JOYAXISMOTION;
    event.jaxis.which = Uint8(pad);
    event.jaxis.axis = Uint8(which);
    event.jaxis.value = Sint16(value);
    return event;
}

SDL_Event hat(int pad, int value) {
    SDL_Event event{};
    event.type = SDL_JOYHATMOTION;
    event.jhat.which = Uint8(pad);
    event.jhat.value = Uint8(value);
    return event;
}

SDL_Event button(int pad, int number, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
    event.jbutton.which = Uint8(pad);
    event.jbutton.button = Uint8(number);
    return event;
}

// "+273" for a press of key 273, "-273" for its release.
std::string keys(const std::vector<SDL_Event>& events) {
    std::string text;
    for (const SDL_Event& event : events) {
        if (!text.empty()) text += " ";
        text += (event.type == SDL_KEYDOWN ? "+" : "-") + std::to_string(event.key.keysym.sym);
    }
    return text;
}

std::string plus(int key) { return "+" + std::to_string(key); }
std::string minus(int key) { return "-" + std::to_string(key); }

class GamepadTranslation : public ::testing::Test {
protected:
    std::string play(const SDL_Event& event) { return keys(pads.translate(event, true, table.keys, bindings)); }
    std::string menu(const SDL_Event& event) { return keys(pads.translate(event, false, table.keys, bindings)); }

    Settings table = defaultSettings();
    PadBindings bindings;
    GamepadTranslator pads;
};

TEST_F(GamepadTranslation, PadsDriveWithTheirPlayersBoundKeys) {
    // Pad 0 is Player 1 (the second key group), pad 1 Player 2 (the first).
    struct Case {
        SDL_Event press, release;
        int pad0Key, pad1Key;
    };
    const Case cases[] = {
        {axis(0, 1, -20000), axis(0, 1, 0), KEY_FORWARD2, KEY_FORWARD1},
        {axis(0, 1, 20000), axis(0, 1, 0), KEY_BACKWARD2, KEY_BACKWARD1},
        {axis(0, 0, -32768), axis(0, 0, 0), KEY_LEFT2, KEY_LEFT1},
        {axis(0, 0, 32767), axis(0, 0, 0), KEY_RIGHT2, KEY_RIGHT1},
        {hat(0, SDL_HAT_UP), hat(0, SDL_HAT_CENTERED), KEY_FORWARD2, KEY_FORWARD1},
        {button(0, bindings.jump, true), button(0, bindings.jump, false), KEY_JUMP2, KEY_JUMP1},
        {button(0, bindings.use, true), button(0, bindings.use, false), KEY_USE2, KEY_USE1},
        {button(0, bindings.reset, true), button(0, bindings.reset, false), KEY_RESET2, KEY_RESET1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(play(c.press), plus(table.keys[c.pad0Key])) << c.pad0Key;
        EXPECT_EQ(play(c.release), minus(table.keys[c.pad0Key])) << c.pad0Key;
        SDL_Event press = c.press, release = c.release;
        press.jaxis.which = release.jaxis.which = 1;  // `which` sits at the same place in every pad event
        EXPECT_EQ(play(press), plus(table.keys[c.pad1Key])) << c.pad1Key;
        EXPECT_EQ(play(release), minus(table.keys[c.pad1Key])) << c.pad1Key;
    }
    EXPECT_EQ(play(button(0, bindings.leave, true)), plus(SDLK_ESCAPE));
    // A third pad, other axes and hats are no player's.
    EXPECT_EQ(play(axis(2, 1, -30000)), "");
    EXPECT_EQ(play(axis(0, 3, -30000)), "");
}

TEST_F(GamepadTranslation, MenusGetCursorKeysReturnAndEscape) {
    EXPECT_EQ(menu(hat(0, SDL_HAT_DOWN)), plus(SDLK_DOWN));
    EXPECT_EQ(menu(hat(0, SDL_HAT_CENTERED)), minus(SDLK_DOWN));
    EXPECT_EQ(menu(axis(1, 0, 30000)), plus(SDLK_RIGHT));
    EXPECT_EQ(menu(button(0, bindings.jump, true)), plus(SDLK_RETURN));
    EXPECT_EQ(menu(button(0, bindings.use, true)), plus(SDLK_ESCAPE));
    EXPECT_EQ(menu(button(0, bindings.reset, true)), "");  // nothing to reset off the track
}

TEST_F(GamepadTranslation, DeadZoneAndTwoSourcesOfOneDirection) {
    EXPECT_EQ(play(axis(0, 1, -bindings.deadZone)), "") << "at the dead zone's edge: still resting";
    EXPECT_EQ(play(axis(0, 1, -bindings.deadZone - 1)), plus(table.keys[KEY_FORWARD2]));
    EXPECT_EQ(play(axis(0, 1, -30000)), "") << "pushing further presses nothing again";
    // The d-pad joins the stick: the key stays down until both let go.
    EXPECT_EQ(play(hat(0, SDL_HAT_UP | SDL_HAT_LEFT)), plus(table.keys[KEY_LEFT2]));
    EXPECT_EQ(play(axis(0, 1, 0)), "");
    EXPECT_EQ(play(hat(0, SDL_HAT_CENTERED)), minus(table.keys[KEY_FORWARD2]) + " " + minus(table.keys[KEY_LEFT2]));
    // Straight from full up to full down.
    play(axis(0, 1, -30000));
    EXPECT_EQ(play(axis(0, 1, 30000)), minus(table.keys[KEY_FORWARD2]) + " " + plus(table.keys[KEY_BACKWARD2]));
}

TEST_F(GamepadTranslation, ReleaseLetsGoOfWhatThePressTook) {
    // Pressed on a menu (Return), released in a run: Return is let go, not Jump.
    EXPECT_EQ(menu(button(0, bindings.jump, true)), plus(SDLK_RETURN));
    EXPECT_EQ(play(button(0, bindings.jump, false)), minus(SDLK_RETURN));
    // Rebound while held: the release still lets go.
    EXPECT_EQ(play(button(0, 0, true)), plus(table.keys[KEY_JUMP2]));
    bindings.jump = 5;
    EXPECT_EQ(play(button(0, 0, false)), minus(table.keys[KEY_JUMP2]));
    // An unplugged pad releases all it held; a second release is silent.
    play(axis(0, 1, -30000));
    play(button(0, bindings.use, true));
    EXPECT_EQ(keys(pads.releaseAll(0)), minus(table.keys[KEY_FORWARD2]) + " " + minus(table.keys[KEY_USE2]));
    EXPECT_EQ(keys(pads.releaseAll(0)), "");
    EXPECT_EQ(play(axis(0, 1, 0)), "");
}

TEST(GamepadBindings, FileRoundTripAndDamagedValuesKeepDefaults) {
    PadBindings changed;
    changed.jump = 3;
    changed.leave = 9;
    changed.deadZone = 8000;
    const PadBindings back = parsePadBindings(padBindingsText(changed));
    EXPECT_EQ(back.jump, 3);
    EXPECT_EQ(back.use, changed.use);
    EXPECT_EQ(back.leave, 9);
    EXPECT_EQ(back.deadZone, 8000);

    const PadBindings defaults;
    const PadBindings damaged = parsePadBindings("Jump = -1\nUse = 40\nReset = two\nLeave\nDeadZone = 99999\n= 4\nJump 3\n");
    EXPECT_EQ(damaged.jump, defaults.jump);
    EXPECT_EQ(damaged.use, defaults.use);
    EXPECT_EQ(damaged.reset, defaults.reset);
    EXPECT_EQ(damaged.leave, defaults.leave);
    EXPECT_EQ(damaged.deadZone, defaults.deadZone);

    TempDir dir("gamepad");
    ASSERT_TRUE(dir.ok());
    EXPECT_EQ(readPadBindings(dir.file("missing.ini")).jump, defaults.jump);
    ASSERT_EQ(writePadBindings(dir.file("gamepad.ini"), changed), 0);
    EXPECT_EQ(readPadBindings(dir.file("gamepad.ini")).leave, 9);
}

}  // namespace
