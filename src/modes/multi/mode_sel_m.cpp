#include "modes/multi/mode_sel_m.h"

#include <cstdio>

#include "core/game_paths.h"
#include "core/globals.h"
#include "core/services.h"
#include "render/textures.h"
#include "modes/multi/castle_m.h"
#include "modes/multi/race_m.h"
#include "render/camera.h"
#include "render/screen_pieces.h"
#include "render/text.h"

namespace {
const char* const MAPS_FOLDER = "maps";
const char* const NO_PICTURE = "maps/nopic.png";

// The frame round both pages and the map rows inside it.
constexpr ListPanel MODE_PANEL = {0.029, 0.82, 0.941, 0.651, SCREEN_CYAN, 0.491, 0.039, MODE_MAP_ROWS};
// The arrows beside the map list, between the names and the preview.
constexpr ScrollArrows MODE_SCROLL_ARROWS = {0.288, 0.3, 0.26, 0.295, 0.475, 0.51, SCREEN_CYAN, {0.2f, 0.2f, 0.2f}};

void label(double x, double y, float scale, bool chosen, const char* text) {
    drawText(pixelX(x), pixelY(y), scale, 1, chosen ? 0.0f : 1.0f, 1, text);
}

// The page names between a left and a right arrow: Left and Right turn the
// pages.
void pageArrows() {
    drawSideArrow(0.049, 0.692, 0.065, 0.714, false, SCREEN_CYAN);
    drawSideArrow(0.575, 0.692, 0.591, 0.714, true, SCREEN_CYAN);
}
}  // namespace

void ModeSelM::enter() {
    saveNotice.clear();
    menu.settings = readMultiplayerSettings(configFile(MULTIPLAYER_FILE));
    menu.castleMaps = listModeMaps(MAPS_FOLDER, "ca-");
    menu.raceMaps = listModeMaps(MAPS_FOLDER, "ra-");
    // Maps may have gone since the last visit.
    if (menu.selectedRow >= int(menu.pageMaps().size()) && menu.page != PAGE_OPTIONS)
        menu.selectedRow = menu.firstVisibleRow = 0;
    loadPreviews();
}

void ModeSelM::loadPreviews() {
    releasePreviews();
    std::vector<std::string> names = menu.castleMaps;
    names.insert(names.end(), menu.raceMaps.begin(), menu.raceMaps.end());
    for (const std::string& name : names) {
        GLuint texture = loadPictureTexture(previewPath(MAPS_FOLDER, name));
        if (texture == 0) texture = loadPictureTexture(NO_PICTURE);
        previews.push_back(texture);  // 0: neither picture could be read
    }
}

void ModeSelM::releasePreviews() {
    for (GLuint texture : previews)
        if (texture != 0) glDeleteTextures(1, &texture);
    previews.clear();
}

void ModeSelM::leaveTo(int state) {
    releasePreviews();
    switchToState(state);
}

void ModeSelM::startSelectedMap() {
    const std::string name = menu.selectedMap();
    if (name.empty()) return;  // an empty page has nothing to start
    const std::string path = std::string(MAPS_FOLDER) + "/" + name;
    // A level that cannot be played keeps the players here. The mode plays
    // the settings chosen here, also when they could not be saved.
    if (menu.page == PAGE_CASTLE_ATTACK) {
        if (stateObject<CastleM>(STATE_CASTLEM).chooseLevel(path, menu.settings) != 0 || !saveSettings()) return;
        leaveTo(STATE_CASTLEM);
    } else {
        if (stateObject<RaceM>(STATE_RACEM).chooseLevel(path, menu.settings) != 0 || !saveSettings()) return;
        leaveTo(STATE_RACEM);
    }
}

bool ModeSelM::saveSettings() {
    const std::string path = configFile(MULTIPLAYER_FILE);
    return saveNotice.allowsLeaving(writeMultiplayerSettings(menu.settings, path) == 0, path);
}

int ModeSelM::handleEvent(SDL_Event event, SDL_Keysym key) {
    if (event.type != SDL_KEYDOWN) return 0;
    const bool options = menu.page == PAGE_OPTIONS;
    switch (key.sym) {
        case SDLK_ESCAPE: leaveTo(STATE_MENU); return 0;  // without writing the settings
        case SDLK_SPACE:
            if (!options) return 0;
            break;
        case SDLK_LEFT: case SDLK_a:
        case SDLK_RIGHT: case SDLK_d:
        case SDLK_DOWN: case SDLK_s:
        case SDLK_UP: case SDLK_w:
        case SDLK_RETURN: case SDLK_KP_ENTER: break;
        default: return 0;
    }
    playSound(ANY_CHANNEL, SOUND_SELECT);
    switch (key.sym) {
        case SDLK_LEFT: case SDLK_a: menu.previousPage(); break;
        case SDLK_RIGHT: case SDLK_d: menu.nextPage(); break;
        case SDLK_DOWN: case SDLK_s: menu.down(); break;
        case SDLK_UP: case SDLK_w: menu.up(); break;
        case SDLK_SPACE: menu.changeOption(); break;
        case SDLK_RETURN: case SDLK_KP_ENTER:
            if (options) menu.changeOption();
            else startSelectedMap();
            break;
        default: break;
    }
    return 0;
}

void ModeSelM::update(int) {}

void ModeSelM::draw() {
    drawDimmedBackdrop(TEX_SPACE4, 0.7f);
    drawTitleStrip(0.15f, 0.842f, 0.85f, 0.932f, 0.405f, 0.53f, 0, 1, 1);
    drawPageNames();
    if (menu.page == PAGE_OPTIONS) drawOptionsPage();
    else drawMapPage();
    drawListPanel(MODE_PANEL);
    saveNotice.draw(0.049, 0.2);  // inside the frame, under the maps
}

void ModeSelM::drawPageNames() {
    label(0.049, 0.78, 1, false, "Selected Mode:");
    label(0.085, 0.716, 1, menu.page == PAGE_CASTLE_ATTACK, "Castle Attack");
    label(0.33, 0.716, 1, menu.page == PAGE_RACE, "Race");
    label(0.45, 0.716, 1, menu.page == PAGE_OPTIONS, "Options");
    pageArrows();
}

void ModeSelM::drawMapPage() {
    if (menu.page == PAGE_CASTLE_ATTACK) {
        label(0.049, 0.664, 0.8f, false, "Decrease your enemy's castle-health by entering his castle.");
        label(0.049, 0.638, 0.8f, false, "Try to get hold of some of the power-ups placed on the maps;");
        label(0.049, 0.612, 0.8f, false, "things should be easier then.");
    } else {
        label(0.049, 0.664, 0.8f, false, "Earn points by reaching the goal; a fall costs a life.");
        label(0.049, 0.638, 0.8f, false, "When both are out of lives, more points win, then more distance.");
    }
    label(0.049, 0.546, 1, false, "Maps:");
    const std::vector<std::string>& maps = menu.pageMaps();
    for (int row = menu.firstVisibleRow; row < menu.firstVisibleRow + MODE_PANEL.visibleRows && row < int(maps.size());
         ++row)
        label(0.049, listRowY(MODE_PANEL, row - menu.firstVisibleRow), 0.8f, row == menu.selectedRow,
              maps[size_t(row)].c_str());
    drawScrollArrows(menu.hiddenAbove(), menu.hiddenBelow(), MODE_SCROLL_ARROWS);
    const int index = menu.previewIndex();
    // The picture stays out of the glow image.
    if (index < 0 || index >= int(previews.size()) || glowPass) return;
    // Opaque, whatever blending the pieces around it use.
    glPushAttrib(GL_COLOR_BUFFER_BIT);
    glBlendFunc(GL_ONE, GL_ZERO);
    drawFlatPiece(previews[size_t(index)], 0.4, 0.3, 0.6, 0.5, 0, 1, 1, 0);
    glPopAttrib();
}

void ModeSelM::drawOptionsPage() {
    const MultiplayerSettings& values = menu.settings;
    label(0.36, 0.616, 1, false, "Castle Attack");
    label(0.36, 0.406, 1, false, "Race");
    const struct {
        const char* name;
        int value;
        double height;
    } rows[OPTION_ROW_COUNT] = {
        {"Lives:", values.castleLives, 0.566}, {"Powerups:", values.powerups, 0.516},
        {"Gravity:", values.castleGravity, 0.466}, {"Lives:", values.raceLives, 0.356},
        {"Gravity:", values.raceGravity, 0.306},
    };
    for (int row = 0; row < OPTION_ROW_COUNT; ++row) {
        const bool chosen = row == menu.selectedRow;
        label(0.36, rows[row].height, 0.8f, chosen, rows[row].name);
        char value[16];
        if (row == OPTION_POWERUPS) std::snprintf(value, sizeof value, "%s", values.powerups ? "on" : "off");
        else std::snprintf(value, sizeof value, "%d", rows[row].value);
        label(0.56, rows[row].height, 0.8f, chosen, value);
    }
}
