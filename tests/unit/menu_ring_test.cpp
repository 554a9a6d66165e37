#include <gtest/gtest.h>

#include "core/state_ids.h"
#include "frontend/menu.h"
#include "render/textures.h"
#include "support/sim_fixtures.h"

namespace {

class MenuRing : public ::testing::Test {
protected:
    int press(SDL_Keycode sym) {
        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.keysym.sym = sym;
        return menu.handleEvent(event, event.key.keysym);
    }
    // One ring step per call once more than 20 ms have gathered.
    void steps(int count) {
        for (int i = 0; i < count; ++i) menu.update(21);
    }

    Menu menu;
};

TEST_F(MenuRing, LeftTurnsOneEntryPerSixtyDegrees) {
    press(SDLK_LEFT);
    steps(11);
    EXPECT_EQ(menu.selection, 0) << "still turning";
    steps(1);
    EXPECT_EQ(menu.angle % 60, 0);
    EXPECT_EQ(menu.selection, 5) << "left from the first entry wraps to the last";
    EXPECT_EQ(menu.direction, Menu::RESTING);
}

TEST_F(MenuRing, SecondPressDuringATurnChangesTheSelectionOnce) {
    press(SDLK_a);
    steps(3);
    press(SDLK_a);
    steps(20);
    EXPECT_EQ(menu.selection, 5);
    EXPECT_EQ(menu.direction, Menu::RESTING);
}

TEST_F(MenuRing, ReversingMidTurnReturnsToTheEntryItCameFrom) {
    press(SDLK_RIGHT);
    steps(4);
    press(SDLK_LEFT);
    steps(30);
    EXPECT_EQ(menu.selection, 0);
    EXPECT_EQ(menu.angle % 360, 0);
    press(SDLK_d);
    steps(12);
    EXPECT_EQ(menu.selection, 1);
}

TEST_F(MenuRing, CraftHopsOnlyFromRest) {
    menu.enter();
    press(SDLK_RIGHT);
    EXPECT_EQ(menu.verticalSpeed, 120);
    steps(5);
    const int speedInHop = menu.verticalSpeed;
    press(SDLK_RIGHT);
    EXPECT_EQ(menu.verticalSpeed, speedInHop) << "a press in mid-air does not restart the hop";
    steps(40);
    EXPECT_EQ(menu.craftY, MENU_CRAFT_REST_Y);
    EXPECT_EQ(menu.verticalSpeed, 0);
}

TEST_F(MenuRing, ShortFramesGatherBeforeAStep) {
    press(SDLK_LEFT);
    menu.update(10);
    menu.update(10);
    EXPECT_EQ(menu.angle, 0);
    menu.update(1);
    EXPECT_EQ(menu.angle, 5);
}

TEST_F(MenuRing, EscapeAndQuitEndTheProgram) {
    EXPECT_EQ(press(SDLK_ESCAPE), -1);
    menu.selection = MENU_QUIT_ENTRY;
    EXPECT_EQ(press(SDLK_RETURN), -1);
}

TEST_F(MenuRing, TurningPlaysTheMenuSoundAndEnterTheSelectSound) {
    SimServices services;
    press(SDLK_LEFT);
    press(SDLK_d);
    EXPECT_EQ(services.mixer.played_, (std::vector<std::pair<int, int>>{{ANY_CHANNEL, SOUND_MENU},
                                                                      {ANY_CHANNEL, SOUND_MENU}}));
    services.mixer.clear();
    press(SDLK_UP);
    EXPECT_TRUE(services.mixer.played_.empty()) << "other keys are silent";
    menu.selection = MENU_QUIT_ENTRY;
    menu.direction = Menu::RESTING;
    EXPECT_EQ(press(SDLK_RETURN), -1);
    EXPECT_EQ(services.mixer.played_, (std::vector<std::pair<int, int>>{{ANY_CHANNEL, SOUND_SELECT}}));
}

TEST(MenuEntries, OpenTheirStatesAndCarryTheirLabels) {
    EXPECT_EQ(menuEntryState(0), STATE_MAPSEL);
    EXPECT_EQ(menuEntryState(1), STATE_SINGLEPLCSEL);
    EXPECT_EQ(menuEntryState(2), STATE_MODESELM);
    EXPECT_EQ(menuEntryState(3), STATE_OPTIONS);
    EXPECT_EQ(menuEntryState(4), STATE_LEVELED);
    EXPECT_EQ(menuEntryState(5), -1);
    EXPECT_EQ(menuEntryLabel(0), TEX_MENU01);
    EXPECT_EQ(menuEntryLabel(4), 14);
    EXPECT_EQ(menuEntryLabel(5), TEX_MENU06);
}

}  // namespace
