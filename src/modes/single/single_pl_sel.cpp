#include "modes/single/single_pl_sel.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cstdio>

#include "core/game_paths.h"
#include "core/globals.h"
#include "core/services.h"
#include "modes/single/single.h"
#include "render/camera.h"
#include "render/screen_pieces.h"
#include "render/textures.h"
#include "render/text.h"

namespace {
const char* const MAPS_DIR = "maps";
constexpr size_t SHOWN_NAME_LENGTH = 26;  // room before the "SKIPPED" column
constexpr double NOTICE_Y = 0.265;        // inside the frame, between the last row and the footer
constexpr ListPanel LEVEL_PANEL = {0.029, 0.82, 0.941, 0.651, SCREEN_YELLOW, 0.716, 0.039, LEVEL_ROWS_SHOWN};
}  // namespace

void SinglePlSel::enter() {
    const size_t remembered = campaign.levels.size();
    campaign = loadCampaignProgress(MAPS_DIR, campaignDirectory);
    if (campaign.levels.size() != remembered) selected = top = 0;
    selected = std::max(0, std::min(selected, int(campaign.progress)));
    top = std::min(top, selected);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(40.0, double(screenWidth) / double(screenHeight), NEAR_PLANE, FAR_PLANE);
    glMatrixMode(GL_MODELVIEW);
}

void SinglePlSel::moveSelection(int delta) {
    const int count = int(campaign.levels.size());
    if (delta < 0 && selected > 0) {
        playSound(ANY_CHANNEL, SOUND_SELECT);
        selected -= 1;
        if (selected < top) top -= 1;
    } else if (delta > 0 && selected < count - 1) {
        playSound(ANY_CHANNEL, SOUND_SELECT);
        if (selected < campaign.progress) selected += 1;
        if (selected > top + 5) top += 1;
    }
}

void SinglePlSel::selectLevel(int index) {
    selected = std::max(0, std::min(index, int(campaign.levels.size()) - 1));
    if (selected > top + 5) top = selected - 5;
    if (selected < top) top = selected;
}

void SinglePlSel::skipSelected() {
    if (!skipLevel(campaign, selected)) return;
    playSound(ANY_CHANNEL, SOUND_HURT);
    saveProgress();
}

int SinglePlSel::saveProgress() {
    const std::string path = userFileForWriting(progressPath(MAPS_DIR, campaignDirectory));
    if (writeProgressFile(path, campaign) == 0) return 0;
    notice = "Progress could not be saved to " + path;
    std::fprintf(stderr, "%s\n", notice.c_str());
    const int keep = selected;
    campaign = loadCampaignProgress(MAPS_DIR, campaignDirectory);
    selected = std::min(keep, int(campaign.progress));
    return -1;
}

void SinglePlSel::playSelected() {
    if (campaign.levels.empty()) return;
    playSound(ANY_CHANNEL, SOUND_SELECT);
    Single& play = stateObject<Single>(STATE_SINGLE);
    const std::string path = std::string(MAPS_DIR) + "/" + campaignDirectory + "/" + campaign.levels[size_t(selected)].name;
    if (play.loadLevel(path) != 0) return;
    play.levelIndex = selected;
    glEnable(GL_LIGHTING);
    switchToState(STATE_SINGLE);
}

int SinglePlSel::handleEvent(SDL_Event event, SDL_Keysym key) {
    if (event.type != SDL_KEYDOWN) return 0;
    notice.clear();
    switch (key.sym) {
        case SDLK_UP: moveSelection(-1); break;
        case SDLK_DOWN: moveSelection(+1); break;
        case SDLK_s: skipSelected(); break;
        case SDLK_RETURN:
        case SDLK_KP_ENTER: playSelected(); break;
        case SDLK_ESCAPE:
            SDL_ShowCursor(SDL_DISABLE);
            switchToState(STATE_SINGLEPLCSEL);
            break;
        default: break;
    }
    return 0;
}

void SinglePlSel::update(int) {}

void SinglePlSel::draw() {
    drawDimmedBackdrop(TEX_SPACE2, 0.7f);
    drawTitleStrip(0.2f, 0.862f, 0.8f, 0.942f, 0.27f, 0.40f, 1, 1, 0);
    const int titleLength = int(campaignTitle.size());
    drawText(int(screenWidth * (0.695 - 0.029 * (titleLength / 2))), pixelY(0.856), 1, 1, 1, 0,
             campaignTitle.c_str());
    const int headY = pixelY(0.781);
    drawText(pixelX(0.0488), headY, 1, 1, 1, 1, "Levelname");
    drawText(pixelX(0.5), headY, 1, 1, 1, 1, "Lives left");
    drawText(pixelX(0.732), headY, 1, 1, 1, 1, "Record Time");
    drawRows();
    const int count = int(campaign.levels.size());
    drawScrollArrows(top >= 1, top + 10 < count - 1, listScrollArrowsLit(SCREEN_YELLOW));
    char text[96];
    std::snprintf(text, sizeof text, "Number of skips left: %d", skipsAllowed(campaign) - campaign.skipsUsed);
    drawText(pixelX(0.0488), pixelY(0.22), 0.8f, 1, 1, 1, text);
    const int lost = livesLost(campaign);
    std::snprintf(text, sizeof text, "Number of lives lost: %d - %s", lost, rankName(campaign.progress, lost));
    drawText(pixelX(0.4), pixelY(0.22), 0.8f, 1, 1, 1, text);
    // A failed save says so first; otherwise the levels the list leaves out.
    const std::string line = notice.empty() ? leftOutLine(campaign) : notice;
    if (!line.empty()) drawText(pixelX(0.0488), pixelY(NOTICE_Y), 0.8f, 1, 0.3f, 0.3f, line.c_str());
    drawListPanel(LEVEL_PANEL);
}

void SinglePlSel::drawRows() {
    const int count = int(campaign.levels.size());
    for (int i = top; i <= campaign.progress && i < count && i <= top + 10; ++i) {
        const LevelRecord& record = campaign.levels[size_t(i)];
        const bool chosen = i == selected;
        const float green = chosen ? 0.0f : 1.0f;
        const int y = pixelY(listRowY(LEVEL_PANEL, i - top));
        const LevelRowTexts texts = levelRowTexts(record);
        drawText(pixelX(0.732), y, 1, 1, green, 1, texts.time.c_str());
        drawText(pixelX(0.5), y, 1, 1, green, 1, texts.lives.c_str());
        drawText(pixelX(0.0488), y, 1, 1, green, 1, shownName(record.name, SHOWN_NAME_LENGTH).c_str());
        if (record.skipped) drawText(pixelX(0.348), y, 1, 1, 0, chosen ? 1.0f : 0.0f, "SKIPPED");
    }
}
