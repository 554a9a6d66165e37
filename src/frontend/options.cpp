#include "frontend/options.h"

#include <GL/gl.h>

#include <cstdio>

#include "core/game_paths.h"
#include "core/gamepad.h"
#include "core/globals.h"
#include "core/key_table.h"
#include "core/services.h"
#include "core/settings.h"
#include "render/camera.h"
#include "render/text.h"
#include "render/textures.h"

namespace {

const char* const itemLabels[OPTIONS_ITEM_COUNT] = {
    "Forward", "Backward", "Right", "Left", "Jump", "Reset", "Use",
    "Glow", "Shadows", "Mipmaps", "Style", "Details"};
const double keyRowHeights[OPTIONS_KEY_ROWS] = {0.715, 0.675, 0.637, 0.598, 0.558, 0.518, 0.478};
const double graphicsRowHeights[5] = {0.351, 0.311, 0.271, 0.231, 0.191};
const double keyColumns[3] = {0.499, 0.669, 0.815};  // player column 1, 2, gamepad

int atWidth(double fraction) { return static_cast<int>(fraction * screenWidth); }
int atHeight(double fraction) { return static_cast<int>(fraction * screenHeight); }

void drawLine(double x, double y, float scale, bool highlighted, const char* text) {
    if (highlighted)
        drawText(atWidth(x), atHeight(y), scale, 1, 0, 1, text);
    else
        drawText(atWidth(x), atHeight(y), scale, 1, 1, 1, text);
}

}  // namespace

void Options::enter() {
    // The folders may have changed since start-up; this also refreshes the
    // global set count.
    textureSetCount_ = listTextureSets();
    textureSetNames_ = textureSetNames;
    saveNotice_.clear();
    readSettingsFile();
}

void Options::readSettingsFile() {
    cursor_.reset();
    readSettings(configFile(SETTINGS_FILE), textureSetCount_);
    padBindings = readPadBindings(configFile(GAMEPAD_FILE));
}

bool Options::takePadButton(int, int button) { return handleOptionsPadButton(cursor_, button, *this); }

int Options::handleEvent(SDL_Event event, SDL_Keysym key) {
    if (event.type == SDL_KEYDOWN)
        handleOptionsKey(cursor_, key.sym, textureSetCount_, *this);
    return 0;
}

void Options::saveAndLeave() {
    const std::string settingsPath = configFile(SETTINGS_FILE);
    const std::string padPath = configFile(GAMEPAD_FILE);
    const bool settingsSaved = writeSettings(settingsPath) == 0;
    const bool padSaved = writePadBindings(padPath, padBindings) == 0;
    if (saveNotice_.allowsLeaving(settingsSaved && padSaved, settingsSaved ? padPath : settingsPath))
        switchToState(STATE_MENU);
}

void Options::playSelectSound() { playSound(ANY_CHANNEL, SOUND_SELECT); }

// A failed reload keeps the textures that were loaded; nothing to report.
void Options::reloadTextures() { loadTextures(); }

void Options::draw() {
    glColor3f(0.7f, 0.7f, 0.7f);
    drawBackdrop(TEX_SPACE1, false);
    glColor3f(1, 1, 1);
    drawTitle();

    drawText(atWidth(0.204), atHeight(0.782), 1.1f, 1, 1, 1, "Controls:");
    drawText(atWidth(0.204), atHeight(0.41), 1.1f, 1, 1, 1, "Graphics:");
    drawText(atWidth(0.499), atHeight(0.782), 0.9f, 1, 1, 1, "Player 1");
    drawText(atWidth(0.669), atHeight(0.782), 0.9f, 1, 1, 1, "Player 2");
    drawText(atWidth(0.815), atHeight(0.782), 0.9f, 1, 1, 1, "Gamepad");
    drawKeyRows();
    drawGraphicsRows();

    char resolution[32];
    std::snprintf(resolution, sizeof resolution, "%d x %d", settings.width, settings.height);
    drawText(atWidth(0.206), atHeight(0.151), 0.8f, 0.35f, 0.35f, 0.35f, "Resolution");
    drawText(atWidth(0.499), atHeight(0.151), 0.8f, 0.35f, 0.35f, 0.35f, resolution);
    // The pad's leave button and dead zone are kept in gamepad.ini only.
    char pads[64];
    std::snprintf(pads, sizeof pads, "%s leaves a run (gamepad.ini)", padButtonName(padBindings.leave));
    drawText(atWidth(0.206), atHeight(0.111), 0.8f, 0.35f, 0.35f, 0.35f, "Gamepad");
    drawText(atWidth(0.499), atHeight(0.111), 0.8f, 0.35f, 0.35f, 0.35f, pads);

    drawPanel(atWidth(0.029), atHeight(0.82), atWidth(0.941), atHeight(0.751), 0, 0, 1.0f);
    saveNotice_.draw(0.049, 0.025);  // below the panel
}

// The blue "Options" strip of the title image, added onto the backdrop.
void Options::drawTitle() const {
    glEnable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glColor3f(0, 0, 1);
    glBindTexture(GL_TEXTURE_2D, titleTexture);
    beginOverlay();
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0.67f); glVertex2i(atWidth(0.15), atHeight(0.842));
    glTexCoord2f(1, 0.67f); glVertex2i(atWidth(0.85), atHeight(0.842));
    glTexCoord2f(1, 0.54f); glVertex2i(atWidth(0.85), atHeight(0.932));
    glTexCoord2f(0, 0.54f); glVertex2i(atWidth(0.15), atHeight(0.932));
    glEnd();
    endOverlay();
    glColor3f(1, 1, 1);
    glEnable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
}

void Options::drawKeyRows() const {
    for (int row = 0; row < OPTIONS_KEY_ROWS; ++row) {
        const int item = row + 1;
        const bool selected = cursor_.selectedItem == item;
        drawLine(0.206, keyRowHeights[row], 0.8f, selected, itemLabels[row]);
        for (int column = 1; column <= GAMEPAD_COLUMN; ++column) {
            // While a row waits for its key the highlighted name blinks, so
            // the player sees that the next key press will be taken.
            const bool current = selected && cursor_.playerColumn == column;
            const bool hidden = current && cursor_.waiting && (SDL_GetTicks() / 250) % 2 == 1;
            if (hidden) continue;
            char name[32];
            if (column == GAMEPAD_COLUMN)
                std::snprintf(name, sizeof name, "%s", optionsPadText(item).c_str());
            else
                std::snprintf(name, sizeof name, "%s", keyName(settings.keys[optionsBindingIndex(item, column)]));
            drawLine(keyColumns[column - 1], keyRowHeights[row], 0.8f, current, name);
        }
    }
}

void Options::drawGraphicsRows() const {
    for (int row = 0; row < 5; ++row) {
        const int item = ITEM_GLOW + row;
        const bool selected = cursor_.selectedItem == item;
        drawLine(0.206, graphicsRowHeights[row], 0.8f, selected, itemLabels[item - 1]);
        drawLine(0.499, graphicsRowHeights[row], 0.8f, selected,
                 optionsValueText(item, textureSetNames_).c_str());
    }
}

void Options::update(int) {}
