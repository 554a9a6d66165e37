#pragma once

#include <string>
#include <vector>

// The options screen's cursor and key handling, apart from drawing so the
// order of its rules can be tested without a window.

constexpr int OPTIONS_ITEM_COUNT = 12;
constexpr int OPTIONS_KEY_ROWS = 7;  // items 1..7 rebind keys
enum OptionsItem : int {
    ITEM_GLOW = 8, ITEM_SHADOWS = 9, ITEM_MIPMAPS = 10, ITEM_STYLE = 11, ITEM_DETAILS = 12
};

// The third column of the key rows shows the gamepad: the stick and d-pad
// on the four direction rows, and the buttons of Jump, Reset and Use, which
// it rebinds with the next pad button pressed.
constexpr int GAMEPAD_COLUMN = 3;
constexpr int FIRST_PAD_BUTTON_ROW = 5;  // Jump, Reset, Use

struct OptionsCursor {
    int selectedItem = 1;  // 1..12
    int playerColumn = 1;  // 1 edits the second key group ("Player 1"), 2 the first, 3 the gamepad
    bool waiting = false;  // Return was pressed on a key row; the next key is bound

    void reset() { selectedItem = 1; waiting = false; }
};

// What the key handling asks of the screen around it.
class OptionsHost {
public:
    virtual ~OptionsHost() = default;
    // Escape: write settings.ini and go back to the menu. Runs before the
    // rest of the same key press is handled.
    virtual void saveAndLeave() = 0;
    virtual void playSelectSound() = 0;
    virtual void reloadTextures() = 0;
};

// Index into the key bindings table changed by a key row and player column.
int optionsBindingIndex(int item, int playerColumn);

// One key press on the options screen (SDL2 key code).
void handleOptionsKey(OptionsCursor& cursor, int keyCode, int textureSetCount, OptionsHost& host);

// A pad button pressed on the options screen: true when it became the
// binding of the waiting gamepad row (it then stands for no key).
bool handleOptionsPadButton(OptionsCursor& cursor, int button, OptionsHost& host);

// The gamepad column's text for key row `item` (1..7).
std::string optionsPadText(int item);

// The text in the value column of items 8..12.
std::string optionsValueText(int item, const std::vector<std::string>& textureSetNames);
