#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/gamepad.h"
#include "core/settings.h"
#include "support/temp_dir.h"

namespace {

// Axis 0 is the left stick's x, 1 its y.
SDL_Event axis(int which, int value) {
    SDL_Event event{};
    event.type = SDL_CONTROLLERAXISMOTION;
    event.caxis.axis = Uint8(which);
    event.caxis.value = Sint16(value);
    return event;
}

SDL_Event button(int number, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_CONTROLLERBUTTONDOWN : SDL_CONTROLLERBUTTONUP;
    event.cbutton.button = Uint8(number);
    return event;
}

SDL_Event dpad(int direction, bool down) { return button(direction, down); }

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
    std::string play(const SDL_Event& event, int pad = 0) {
        return keys(pads.translate(event, pad, true, table.keys, bindings));
    }
    std::string menu(const SDL_Event& event, int pad = 0) {
        return keys(pads.translate(event, pad, false, table.keys, bindings));
    }

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
        {axis(1, -20000), axis(1, 0), KEY_FORWARD2, KEY_FORWARD1},
        {axis(1, 20000), axis(1, 0), KEY_BACKWARD2, KEY_BACKWARD1},
        {axis(0, -32768), axis(0, 0), KEY_LEFT2, KEY_LEFT1},
        {axis(0, 32767), axis(0, 0), KEY_RIGHT2, KEY_RIGHT1},
        {dpad(SDL_CONTROLLER_BUTTON_DPAD_UP, true), dpad(SDL_CONTROLLER_BUTTON_DPAD_UP, false), KEY_FORWARD2,
         KEY_FORWARD1},
        {button(bindings.jump, true), button(bindings.jump, false), KEY_JUMP2, KEY_JUMP1},
        {button(bindings.use, true), button(bindings.use, false), KEY_USE2, KEY_USE1},
        {button(bindings.reset, true), button(bindings.reset, false), KEY_RESET2, KEY_RESET1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(play(c.press), plus(table.keys[c.pad0Key])) << c.pad0Key;
        EXPECT_EQ(play(c.release), minus(table.keys[c.pad0Key])) << c.pad0Key;
        EXPECT_EQ(play(c.press, 1), plus(table.keys[c.pad1Key])) << c.pad1Key;
        EXPECT_EQ(play(c.release, 1), minus(table.keys[c.pad1Key])) << c.pad1Key;
    }
    EXPECT_EQ(play(button(bindings.leave, true)), plus(SDLK_ESCAPE));
    // A third pad, no pad, the right stick and triggers are no player's.
    EXPECT_EQ(play(axis(1, -30000), 2), "");
    EXPECT_EQ(play(axis(1, -30000), -1), "");
    EXPECT_EQ(play(axis(SDL_CONTROLLER_AXIS_RIGHTY, -30000)), "");
}

TEST_F(GamepadTranslation, MenusGetCursorKeysReturnAndEscape) {
    EXPECT_EQ(menu(dpad(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true)), plus(SDLK_DOWN));
    EXPECT_EQ(menu(dpad(SDL_CONTROLLER_BUTTON_DPAD_DOWN, false)), minus(SDLK_DOWN));
    EXPECT_EQ(menu(axis(0, 30000), 1), plus(SDLK_RIGHT));
    EXPECT_EQ(menu(button(bindings.jump, true)), plus(SDLK_RETURN));
    EXPECT_EQ(menu(button(bindings.use, true)), plus(SDLK_ESCAPE));
    EXPECT_EQ(menu(button(bindings.reset, true)), "");  // nothing to reset off the track
}

TEST_F(GamepadTranslation, DeadZoneAndTwoSourcesOfOneDirection) {
    EXPECT_EQ(play(axis(1, -bindings.deadZone)), "") << "at the dead zone's edge: still resting";
    EXPECT_EQ(play(axis(1, -bindings.deadZone - 1)), plus(table.keys[KEY_FORWARD2]));
    EXPECT_EQ(play(axis(1, -30000)), "") << "pushing further presses nothing again";
    // The d-pad joins the stick: the key stays down until both let go.
    EXPECT_EQ(play(dpad(SDL_CONTROLLER_BUTTON_DPAD_UP, true)), "");
    EXPECT_EQ(play(dpad(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true)), plus(table.keys[KEY_LEFT2]));
    EXPECT_EQ(play(axis(1, 0)), "");
    EXPECT_EQ(play(dpad(SDL_CONTROLLER_BUTTON_DPAD_UP, false)), minus(table.keys[KEY_FORWARD2]));
    // Straight from full up to full down.
    play(axis(1, -30000));
    EXPECT_EQ(play(axis(1, 30000)), minus(table.keys[KEY_FORWARD2]) + " " + plus(table.keys[KEY_BACKWARD2]));
}

TEST_F(GamepadTranslation, ReleaseLetsGoOfWhatThePressTook) {
    // Pressed on a menu (Return), released in a run: Return is let go, not Jump.
    EXPECT_EQ(menu(button(bindings.jump, true)), plus(SDLK_RETURN));
    EXPECT_EQ(play(button(bindings.jump, false)), minus(SDLK_RETURN));
    // Rebound while held: the release still lets go.
    EXPECT_EQ(play(button(SDL_CONTROLLER_BUTTON_A, true)), plus(table.keys[KEY_JUMP2]));
    bindings.jump = SDL_CONTROLLER_BUTTON_RIGHTSHOULDER;
    EXPECT_EQ(play(button(SDL_CONTROLLER_BUTTON_A, false)), minus(table.keys[KEY_JUMP2]));
    // An unplugged pad releases all it held; a second release is silent.
    play(axis(1, -30000));
    play(button(bindings.use, true));
    EXPECT_EQ(keys(pads.releaseAll(0)), minus(table.keys[KEY_FORWARD2]) + " " + minus(table.keys[KEY_USE2]));
    EXPECT_EQ(keys(pads.releaseAll(0)), "");
    EXPECT_EQ(play(axis(1, 0)), "");
    // Plugged in again, its buttons press afresh.
    EXPECT_EQ(play(button(bindings.use, true)), plus(table.keys[KEY_USE2]));
}

TEST(GamepadBindings, FileRoundTripAndDamagedValuesKeepDefaults) {
    PadBindings changed;
    changed.jump = SDL_CONTROLLER_BUTTON_Y;
    changed.leave = SDL_CONTROLLER_BUTTON_BACK;
    changed.deadZone = 8000;
    bool oldNumbers = true;
    EXPECT_EQ(padBindingsText(changed), "[GAMEPAD]\nJump = Y\nUse = B\nReset = X\nLeave = Back\nDeadZone = 8000\n");
    const PadBindings back = parsePadBindings(padBindingsText(changed), &oldNumbers);
    EXPECT_EQ(back.jump, SDL_CONTROLLER_BUTTON_Y);
    EXPECT_EQ(back.use, changed.use);
    EXPECT_EQ(back.leave, SDL_CONTROLLER_BUTTON_BACK);
    EXPECT_EQ(back.deadZone, 8000);
    EXPECT_FALSE(oldNumbers);

    // An earlier version's numbers, as the common pads' drivers number them.
    const PadBindings old = parsePadBindings("Jump = 3\nUse = 6\nReset = 4\nLeave = 7\n", &oldNumbers);
    EXPECT_TRUE(oldNumbers);
    EXPECT_EQ(padBindingsText(old), "[GAMEPAD]\nJump = Y\nUse = Back\nReset = LB\nLeave = Start\nDeadZone = 12000\n");

    const PadBindings defaults;
    const PadBindings damaged =
        parsePadBindings("Jump = -1\nUse = 40\nReset = two\nLeave\nDeadZone = 99999\n= 4\nJump 3\n");
    EXPECT_EQ(damaged.jump, defaults.jump);
    EXPECT_EQ(damaged.use, defaults.use);
    EXPECT_EQ(damaged.reset, defaults.reset);
    EXPECT_EQ(damaged.leave, defaults.leave);
    EXPECT_EQ(damaged.deadZone, defaults.deadZone);

    TempDir dir("gamepad");
    ASSERT_TRUE(dir.ok());
    EXPECT_EQ(readPadBindings(dir.file("missing.ini")).jump, defaults.jump);
    ASSERT_EQ(writePadBindings(dir.file("gamepad.ini"), changed), 0);
    EXPECT_EQ(readPadBindings(dir.file("gamepad.ini")).leave, SDL_CONTROLLER_BUTTON_BACK);
}

}  // namespace
