#include "modes/timeattack/map_sel.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>

#include "core/game_paths.h"
#include "core/globals.h"
#include "core/services.h"
#include "render/screen_pieces.h"
#include "modes/timeattack/record_texts.h"
#include "modes/timeattack/records.h"
#include "modes/timeattack/time_attack.h"
#include "render/camera.h"
#include "render/text.h"
#include "render/textures.h"

namespace {
const char* const MAPS_DIR = "maps";

void drawMedalIcon(int medal, double rowHeight) {
    const MedalLook* look = medalLook(medal);
    if (look == nullptr) return;
    glColor3f(look->red, look->green, look->blue);
    drawFlatPiece(textureFrame(TEX_GUI, 0), 0.685, rowHeight - 0.022, 0.702, rowHeight, 0.755f, 0.995f, 0.995f,
                  0.005f);
}
}  // namespace

void MapSel::refresh() {
    mapCount = scanMaps(MAPS_DIR, recordTable);
    readHighscores(userFile(HIGHSCORE_FILE), recordTable);
    totals = recordTotals(recordTable);
    // Levels may have gone since the last visit. Scrolling never starts the
    // window below the sixth row from the end, so neither does a shorter list.
    selected = std::max(0, std::min(selected, mapCount - 1));
    firstVisibleRow = std::max(0, std::min({firstVisibleRow, selected, mapCount - 6}));
    if (selected > firstVisibleRow + MAPSEL_VISIBLE_ROWS - 1) firstVisibleRow = selected - (MAPSEL_VISIBLE_ROWS - 1);
}

void MapSel::enter() {
    refresh();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(40.0, double(screenWidth) / double(screenHeight), NEAR_PLANE, FAR_PLANE);
    glMatrixMode(GL_MODELVIEW);
}

void MapSel::moveSelection(int delta) {
    if (delta < 0 && selected >= 1) {
        playSound(ANY_CHANNEL, SOUND_SELECT);
        --selected;
        if (selected < firstVisibleRow) firstVisibleRow -= 1;
    } else if (delta > 0 && selected < mapCount - 1) {
        playSound(ANY_CHANNEL, SOUND_SELECT);
        ++selected;
        // Past the sixth visible row the list scrolls, keeping the
        // selection near the middle of the eleven rows.
        if (selected > firstVisibleRow + 5) firstVisibleRow += 1;
    }
}

void MapSel::startSelectedMap() {
    if (mapCount == 0) return;  // an empty list has nothing to start
    playSound(ANY_CHANNEL, SOUND_SELECT);
    TimeAttack& play = stateObject<TimeAttack>(STATE_TIMEATTACK);
    play.mapIndex = selected;
    play.recordsFile = HIGHSCORE_FILE;
    play.exitState = STATE_MAPSEL;
    if (play.loadLevel(std::string(MAPS_DIR) + "/" + recordTable[size_t(selected)].fileName) != 0) return;
    glEnable(GL_LIGHTING);
    switchToState(STATE_TIMEATTACK);
}

int MapSel::handleEvent(SDL_Event event, SDL_Keysym key) {
    if (event.type != SDL_KEYDOWN) return 0;
    if (replay.active()) {
        replayKey(key.sym);
        return 0;
    }
    switch (key.sym) {
        case SDLK_UP:
        case SDLK_w: moveSelection(-1); break;
        case SDLK_DOWN:
        case SDLK_s: moveSelection(+1); break;
        case SDLK_RETURN:
        case SDLK_KP_ENTER: startSelectedMap(); break;
        case SDLK_r: watchSelectedRecord(); break;
        case SDLK_ESCAPE:
            SDL_ShowCursor(SDL_DISABLE);
            glEnable(GL_LIGHTING);
            switchToState(STATE_MENU);
            break;
        default: break;
    }
    return 0;
}

void MapSel::update(int elapsedMs) { replay.update(elapsedMs); }

void MapSel::draw() {
    if (replay.active()) {
        drawReplay();
        return;
    }
    drawListBackdrop();
    // A light blue: pure blue is too dark to read on the night backdrop.
    drawTitleStrip(0.15f, 0.842f, 0.85f, 0.932f, 0.14f, 0.27f, 0.35f, 0.6f, 1);
    const int headY = pixelY(0.781);
    drawText(pixelX(0.0488), headY, 1, 1, 1, 1, "Levelname");
    drawText(pixelX(0.439), headY, 1, 1, 1, 1, "Record Holder");
    drawText(pixelX(0.732), headY, 1, 1, 1, 1, "Record Time");
    drawRows();
    drawScrollArrows(firstVisibleRow >= 1, firstVisibleRow + MAPSEL_VISIBLE_ROWS - 1 < mapCount - 1);
    drawFooter();
    drawWatchLine();
    drawListPanel(MAP_LIST_PANEL);
}

void MapSel::drawRows() {
    const int last = std::min(firstVisibleRow + MAPSEL_VISIBLE_ROWS, mapCount);
    for (int row = firstVisibleRow; row < last; ++row) {
        const RecordEntry& entry = recordTable[size_t(row)];
        const double height = listRowY(MAP_LIST_PANEL, row - firstVisibleRow);
        const bool chosen = row == selected;
        const float green = chosen ? 0.0f : 1.0f;
        const int y = pixelY(height);
        drawText(pixelX(0.0488), y, 1, 1, green, 1, entry.fileName.c_str());
        const MapRowTexts texts = mapRowTexts(entry);
        drawText(pixelX(0.439), y, 1, 1, green, 1, texts.holder.c_str());
        drawText(pixelX(0.732), y, 1, 1, green, 1, texts.time.c_str());
        drawMedalIcon(entry.medal, height);
    }
}

void MapSel::drawFooter() {
    const MapListFooter footer = mapListFooter(recordTable);
    const int y = pixelY(0.22);
    drawText(pixelX(0.07), y, 0.8f, 1, 1, 1, footer.maps.c_str());
    drawText(pixelX(0.2), y, 0.8f, 1, 1, 1, footer.total.c_str());
    drawText(pixelX(0.632), y, 0.8f, 1, 1, 1, footer.average.c_str());
}
