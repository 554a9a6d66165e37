#include "frontend/options_keys.h"

#include "core/gamepad.h"
#include "core/globals.h"
#include "core/key_table.h"
#include "core/settings.h"

namespace {

constexpr int KEY_RETURN = SDLK_RETURN;
constexpr int KEY_ESCAPE = SDLK_ESCAPE;
constexpr int KEY_UP = SDLK_UP;
constexpr int KEY_DOWN = SDLK_DOWN;
constexpr int KEY_RIGHT = SDLK_RIGHT;
constexpr int KEY_LEFT = SDLK_LEFT;

int* padButtonOf(int item) {
    switch (item) {
    case FIRST_PAD_BUTTON_ROW: return &padBindings.jump;
    case FIRST_PAD_BUTTON_ROW + 1: return &padBindings.reset;
    case FIRST_PAD_BUTTON_ROW + 2: return &padBindings.use;
    }
    return nullptr;  // the directions are the stick's and the d-pad's
}

// The gamepad column waits for a pad button, not a key: a key only stops
// the waiting (Escape has already saved and left).
bool handlePadColumn(OptionsCursor& cursor, int keyCode, OptionsHost& host) {
    if (cursor.waiting) {
        cursor.waiting = false;
        return true;
    }
    if (keyCode == KEY_RETURN) {
        if (padButtonOf(cursor.selectedItem) != nullptr) {
            cursor.waiting = true;
            host.playSelectSound();
        }
        return true;
    }
    if (keyCode == KEY_LEFT) cursor.playerColumn = 2;
    return false;
}

// Returns true when the key row consumed the press completely.
bool handleKeyRow(OptionsCursor& cursor, int keyCode, OptionsHost& host) {
    if (cursor.playerColumn == GAMEPAD_COLUMN) return handlePadColumn(cursor, keyCode, host);
    // Return always (re)starts waiting, so it can never become a binding.
    if (keyCode == KEY_RETURN) {
        cursor.waiting = true;
        host.playSelectSound();
        return true;
    }
    // settings.ini can only keep keys SDL 1.2 numbered: any other key
    // (a media key, say) leaves the row waiting.
    if (cursor.waiting && keyNumberOf(keyCode) == NO_KEY_NUMBER) return true;
    if (cursor.waiting) {
        cursor.waiting = false;
        settings.keys[optionsBindingIndex(cursor.selectedItem, cursor.playerColumn)] = keyCode;
        host.playSelectSound();
        return false;
    }
    // Right from the second column goes on to the gamepad's.
    if (keyCode == KEY_RIGHT) cursor.playerColumn = cursor.playerColumn == 2 ? GAMEPAD_COLUMN : 2;
    if (keyCode == KEY_LEFT) cursor.playerColumn = 1;
    return false;
}

void stepStyle(int direction, int textureSetCount, OptionsHost& host) {
    // Without any texture set there is nothing to choose from.
    if (textureSetCount <= 0) return;
    settings.style = direction > 0 ? (settings.style + 1) % textureSetCount
                                   : (textureSetCount + settings.style - 1) % textureSetCount;
    host.reloadTextures();
}

// Right steps low, medium, high, ultra, low; left steps down to low and then
// wraps to high, never reaching ultra.
void stepDetails(int direction, OptionsHost& host) {
    settings.details = direction > 0 ? (settings.details + 1) % 4 : (settings.details + 2) % 3;
    host.playSelectSound();
}

bool handleGraphicsRow(int item, int keyCode, int textureSetCount, OptionsHost& host) {
    if (keyCode != KEY_RIGHT && keyCode != KEY_LEFT) return false;
    int direction = keyCode == KEY_RIGHT ? 1 : -1;
    switch (item) {
    case ITEM_GLOW:
        settings.glow = !settings.glow;
        host.playSelectSound();
        break;
    case ITEM_SHADOWS:
        settings.shadows = !settings.shadows;
        host.playSelectSound();
        break;
    case ITEM_MIPMAPS:
        settings.mipmaps = !settings.mipmaps;
        host.reloadTextures();
        break;
    case ITEM_STYLE:
        stepStyle(direction, textureSetCount, host);
        break;
    case ITEM_DETAILS:
        stepDetails(direction, host);
        break;
    }
    return true;
}

void navigate(OptionsCursor& cursor, int keyCode) {
    if (cursor.waiting) return;
    if (keyCode == KEY_DOWN) cursor.selectedItem = cursor.selectedItem % OPTIONS_ITEM_COUNT + 1;
    if (keyCode == KEY_UP)
        cursor.selectedItem = cursor.selectedItem == 1 ? OPTIONS_ITEM_COUNT : cursor.selectedItem - 1;
}

const char* onOff(int value) { return value ? "on" : "off"; }

}  // namespace

int optionsBindingIndex(int item, int playerColumn) {
    return (2 - playerColumn) * OPTIONS_KEY_ROWS + (item - 1);
}

void handleOptionsKey(OptionsCursor& cursor, int keyCode, int textureSetCount, OptionsHost& host) {
    // Leaving saves first; the same press is then handled like any other key,
    // so Escape on a waiting row still becomes that binding in memory (the
    // file keeps the old one).
    if (keyCode == KEY_ESCAPE) host.saveAndLeave();
    if (cursor.selectedItem <= OPTIONS_KEY_ROWS) {
        if (handleKeyRow(cursor, keyCode, host)) return;
    } else if (handleGraphicsRow(cursor.selectedItem, keyCode, textureSetCount, host)) {
        return;
    }
    navigate(cursor, keyCode);
}

bool handleOptionsPadButton(OptionsCursor& cursor, int button, OptionsHost& host) {
    if (!cursor.waiting || cursor.playerColumn != GAMEPAD_COLUMN) return false;
    int* binding = padButtonOf(cursor.selectedItem);
    if (binding == nullptr) return false;
    *binding = button;
    cursor.waiting = false;
    host.playSelectSound();
    return true;
}

std::string optionsPadText(int item) {
    static const char* const directions[] = {"stick up", "stick down", "stick right", "stick left"};
    if (item >= 1 && item < FIRST_PAD_BUTTON_ROW) return directions[item - 1];
    const int* button = padButtonOf(item);
    return button ? padButtonName(*button) : std::string();
}

std::string optionsValueText(int item, const std::vector<std::string>& textureSetNames) {
    static const char* const detailNames[] = {"low", "medium", "high"};
    switch (item) {
    case ITEM_GLOW: return onOff(settings.glow);
    case ITEM_SHADOWS: return onOff(settings.shadows);
    case ITEM_MIPMAPS: return onOff(settings.mipmaps);
    case ITEM_STYLE:
        if (settings.style >= 0 && settings.style < static_cast<int>(textureSetNames.size()))
            return textureSetNames[settings.style];
        return textureSetNames.empty() ? "" : textureSetNames.front();
    case ITEM_DETAILS:
        if (settings.details == 3) return shadersActive ? "ultra" : "high";
        if (settings.details >= 0 && settings.details < 3) return detailNames[settings.details];
        return "";
    }
    return "";
}
