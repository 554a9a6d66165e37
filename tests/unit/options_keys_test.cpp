#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/gamepad.h"
#include "core/globals.h"
#include "core/settings.h"
#include "frontend/options_keys.h"

namespace {

constexpr int RETURN = SDLK_RETURN, ESCAPE = SDLK_ESCAPE, UP = SDLK_UP, DOWN = SDLK_DOWN, RIGHT = SDLK_RIGHT,
              LEFT = SDLK_LEFT;

// Records what the screen was asked to do; the save keeps a copy of the
// settings at that moment, which is what the file would hold.
class RecordingHost : public OptionsHost {
public:
    void saveAndLeave() override {
        ++saves;
        savedSettings = settings;
    }
    void playSelectSound() override { ++selectSounds; }
    void reloadTextures() override { ++reloads; }
    int saves = 0, selectSounds = 0, reloads = 0;
    Settings savedSettings{};
};

class OptionsKeysTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved = settings;
        savedShaders = shadersActive;
    }
    void TearDown() override {
        settings = saved;
        shadersActive = savedShaders;
    }
    void press(int key, int setCount = 3) { handleOptionsKey(cursor, key, setCount, host); }
    void selectItem(int item) { cursor.selectedItem = item; }

    OptionsCursor cursor;
    RecordingHost host;
    Settings saved;
    bool savedShaders = false;
};

TEST_F(OptionsKeysTest, ColumnOnePlayerEditsTheSecondKeyGroup) {
    EXPECT_EQ(optionsBindingIndex(1, 1), KEY_FORWARD2);
    EXPECT_EQ(optionsBindingIndex(7, 1), KEY_USE2);
    EXPECT_EQ(optionsBindingIndex(1, 2), KEY_FORWARD1);
    EXPECT_EQ(optionsBindingIndex(5, 2), KEY_JUMP1);
}

TEST_F(OptionsKeysTest, ReturnThenKeyRebinds) {
    selectItem(5);
    press(RETURN);
    EXPECT_TRUE(cursor.waiting);
    press(SDLK_AUDIOPLAY);  // settings.ini has no number for it: still waiting
    EXPECT_TRUE(cursor.waiting);
    press('k');
    EXPECT_FALSE(cursor.waiting);
    EXPECT_EQ(settings.keys[KEY_JUMP2], 'k');
    EXPECT_EQ(settings.keys[KEY_JUMP1], saved.keys[KEY_JUMP1]);
    EXPECT_EQ(host.selectSounds, 2);
    EXPECT_EQ(cursor.selectedItem, 5);
}

TEST_F(OptionsKeysTest, SecondColumnRebindsTheFirstGroup) {
    selectItem(2);
    press(RIGHT);
    EXPECT_EQ(cursor.playerColumn, 2);
    EXPECT_EQ(settings.keys[KEY_BACKWARD1], saved.keys[KEY_BACKWARD1]);
    press(RETURN);
    press('z');
    EXPECT_EQ(settings.keys[KEY_BACKWARD1], 'z');
    EXPECT_EQ(settings.keys[KEY_BACKWARD2], saved.keys[KEY_BACKWARD2]);
    press(LEFT);
    EXPECT_EQ(cursor.playerColumn, 1);
}

TEST_F(OptionsKeysTest, ReturnNeverBecomesABinding) {
    selectItem(1);
    press(RETURN);
    press(RETURN);
    EXPECT_TRUE(cursor.waiting);
    EXPECT_EQ(settings.keys[KEY_FORWARD2], saved.keys[KEY_FORWARD2]);
}

TEST_F(OptionsKeysTest, BindingCursorDownAlsoMovesTheSelection) {
    selectItem(3);
    press(RETURN);
    press(DOWN);
    EXPECT_EQ(settings.keys[KEY_RIGHT2], DOWN);
    EXPECT_EQ(cursor.selectedItem, 4);
}

TEST_F(OptionsKeysTest, CursorKeysWhileWaitingAreBoundNotFollowed) {
    selectItem(1);
    press(RETURN);
    press(RIGHT);
    EXPECT_EQ(settings.keys[KEY_FORWARD2], RIGHT);
    EXPECT_EQ(cursor.playerColumn, 1);
}

TEST_F(OptionsKeysTest, EscapeWhileWaitingSavesTheOldBindingFirst) {
    selectItem(4);
    press(RETURN);
    press(ESCAPE);
    EXPECT_EQ(host.saves, 1);
    EXPECT_EQ(host.savedSettings.keys[KEY_LEFT2], saved.keys[KEY_LEFT2]);
    EXPECT_EQ(settings.keys[KEY_LEFT2], ESCAPE);
}

TEST_F(OptionsKeysTest, NavigationWrapsBothWays) {
    press(UP);
    EXPECT_EQ(cursor.selectedItem, 12);
    press(DOWN);
    EXPECT_EQ(cursor.selectedItem, 1);
    for (int i = 0; i < 11; ++i) press(DOWN);
    EXPECT_EQ(cursor.selectedItem, 12);
}

TEST_F(OptionsKeysTest, SidewaysOnAKeyRowNeverChangesABinding) {
    selectItem(6);
    press(RIGHT);
    press(LEFT);
    for (int i = 0; i < KEY_BINDING_COUNT; ++i) EXPECT_EQ(settings.keys[i], saved.keys[i]);
    EXPECT_EQ(host.selectSounds, 0);
}

TEST_F(OptionsKeysTest, SwitchesToggleBothWays) {
    settings.glow = 1;
    settings.shadows = 0;
    selectItem(ITEM_GLOW);
    press(RIGHT);
    EXPECT_EQ(settings.glow, 0);
    press(LEFT);
    EXPECT_EQ(settings.glow, 1);
    selectItem(ITEM_SHADOWS);
    press(LEFT);
    EXPECT_EQ(settings.shadows, 1);
    EXPECT_EQ(host.selectSounds, 3);
    EXPECT_EQ(host.reloads, 0);
}

TEST_F(OptionsKeysTest, MipmapsAndStyleReloadTheTextures) {
    settings.mipmaps = 1;
    selectItem(ITEM_MIPMAPS);
    press(RIGHT);
    EXPECT_EQ(settings.mipmaps, 0);
    EXPECT_EQ(host.reloads, 1);

    settings.style = 0;
    selectItem(ITEM_STYLE);
    press(LEFT);
    EXPECT_EQ(settings.style, 2);
    press(RIGHT);
    EXPECT_EQ(settings.style, 0);
    EXPECT_EQ(host.reloads, 3);
}

TEST_F(OptionsKeysTest, StyleStaysWithoutTextureSets) {
    settings.style = 0;
    selectItem(ITEM_STYLE);
    press(RIGHT, 0);
    press(LEFT, 0);
    EXPECT_EQ(settings.style, 0);
    EXPECT_EQ(host.reloads, 0);
}

TEST_F(OptionsKeysTest, DetailsStepOrders) {
    selectItem(ITEM_DETAILS);
    settings.details = 0;
    std::vector<int> right;
    for (int i = 0; i < 4; ++i) {
        press(RIGHT);
        right.push_back(settings.details);
    }
    EXPECT_EQ(right, (std::vector<int>{1, 2, 3, 0}));

    settings.details = 3;
    std::vector<int> left;
    for (int i = 0; i < 4; ++i) {
        press(LEFT);
        left.push_back(settings.details);
    }
    EXPECT_EQ(left, (std::vector<int>{2, 1, 0, 2}));
}

TEST_F(OptionsKeysTest, OtherKeysOnGraphicsRowsOnlyNavigate) {
    selectItem(ITEM_GLOW);
    settings.glow = 1;
    press(RETURN);
    EXPECT_EQ(settings.glow, 1);
    EXPECT_FALSE(cursor.waiting);
    press(DOWN);
    EXPECT_EQ(cursor.selectedItem, ITEM_SHADOWS);
}

TEST_F(OptionsKeysTest, ValueTexts) {
    std::vector<std::string> sets = {"classic", "neon"};
    settings.glow = 1;
    settings.mipmaps = 0;
    EXPECT_EQ(optionsValueText(ITEM_GLOW, sets), "on");
    EXPECT_EQ(optionsValueText(ITEM_MIPMAPS, sets), "off");
    settings.style = 1;
    EXPECT_EQ(optionsValueText(ITEM_STYLE, sets), "neon");
    settings.details = 1;
    EXPECT_EQ(optionsValueText(ITEM_DETAILS, sets), "medium");
    settings.details = 3;
    shadersActive = false;
    EXPECT_EQ(optionsValueText(ITEM_DETAILS, sets), "high");
    shadersActive = true;
    EXPECT_EQ(optionsValueText(ITEM_DETAILS, sets), "ultra");
}

TEST_F(OptionsKeysTest, GamepadColumnRebindsJumpResetAndUseWithAPadButton) {
    const PadBindings savedPad = padBindings;
    selectItem(5);
    press(RIGHT);
    press(RIGHT);
    EXPECT_EQ(cursor.playerColumn, GAMEPAD_COLUMN);
    EXPECT_FALSE(handleOptionsPadButton(cursor, 4, host)) << "not waiting: the button stays a key";
    press(RETURN);
    ASSERT_TRUE(cursor.waiting);
    EXPECT_TRUE(handleOptionsPadButton(cursor, 4, host));
    EXPECT_FALSE(cursor.waiting);
    EXPECT_EQ(padBindings.jump, 4);
    EXPECT_EQ(optionsPadText(5), "Back");
    EXPECT_EQ(settings.keys[KEY_JUMP2], saved.keys[KEY_JUMP2]) << "no key binding changed";
    // A key while waiting only stops the waiting.
    press(DOWN);
    press(RETURN);
    press('k');
    EXPECT_FALSE(cursor.waiting);
    EXPECT_EQ(padBindings.reset, savedPad.reset);
    EXPECT_EQ(cursor.selectedItem, 6);
    // The directions are the stick's: Return there waits for nothing.
    selectItem(1);
    press(RETURN);
    EXPECT_FALSE(cursor.waiting);
    EXPECT_EQ(optionsPadText(1), "stick up");
    press(LEFT);
    EXPECT_EQ(cursor.playerColumn, 2);
    padBindings = savedPad;
}

}  // namespace
