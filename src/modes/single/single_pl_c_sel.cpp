#include "modes/single/single_pl_c_sel.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>

#include "core/globals.h"
#include "core/services.h"
#include "modes/single/single_pl_sel.h"
#include "render/camera.h"
#include "render/screen_pieces.h"
#include "render/textures.h"
#include "render/text.h"

namespace {

const char* const MAPS_DIR = "maps";
constexpr size_t DESCRIPTION_PIECE = 57;

// Two campaigns in the yellow frame, their arrows beside the upper and the
// lower one.
constexpr ListPanel CAMPAIGN_PANEL = {0.029, 0.82, 0.941, 0.651, SCREEN_YELLOW, 0.75, 0.3, CAMPAIGNS_SHOWN};
constexpr ScrollArrows CAMPAIGN_ARROWS = {0.888, 0.9, 0.25, 0.285, 0.72, 0.755, SCREEN_YELLOW, {0.2f, 0.2f, 0.2f}};

// Right-aligned at 0.77 of the width, the width of a character at size 0.8
// being 0.0091 of the window.
int rightAligned(const std::string& text) {
    return int(screenWidth * 0.77 - screenWidth * double(text.size()) * 0.0091);
}

}  // namespace

void SinglePlCSel::enter() {
    campaigns = listCampaigns(MAPS_DIR);
    const int count = int(campaigns.size());
    selected = std::max(0, std::min(selected, count - 1));
    top = std::max(0, std::min({top, selected, count - CAMPAIGNS_SHOWN}));
    if (selected > top + CAMPAIGNS_SHOWN - 1) top = selected - (CAMPAIGNS_SHOWN - 1);
}

void SinglePlCSel::moveSelection(int delta) {
    if (delta < 0 && selected > 0) {
        playSound(ANY_CHANNEL, SOUND_SELECT);
        selected -= 1;
        if (selected < top) top -= 1;
    } else if (delta > 0 && selected < int(campaigns.size()) - 1) {
        playSound(ANY_CHANNEL, SOUND_SELECT);
        selected += 1;
        if (selected > top + 1) top += 1;
    }
}

void SinglePlCSel::openSelected() {
    if (campaigns.empty()) return;
    playSound(ANY_CHANNEL, SOUND_SELECT);
    const CampaignEntry& campaign = campaigns[size_t(selected)];
    SinglePlSel& levels = stateObject<SinglePlSel>(STATE_SINGLEPLSEL);
    // The whole folder name: a cut one would open (and save into) another
    // campaign sharing the prefix.
    levels.campaignDirectory = campaign.directory;
    levels.campaignTitle = campaign.description.name;
    switchToState(STATE_SINGLEPLSEL);
}

int SinglePlCSel::handleEvent(SDL_Event event, SDL_Keysym key) {
    if (event.type != SDL_KEYDOWN) return 0;
    switch (key.sym) {
        case SDLK_UP: moveSelection(-1); break;
        case SDLK_DOWN: moveSelection(+1); break;
        case SDLK_RETURN:
        case SDLK_KP_ENTER: openSelected(); break;
        case SDLK_ESCAPE:
            SDL_ShowCursor(SDL_DISABLE);
            switchToState(STATE_MENU);
            break;
        default: break;
    }
    return 0;
}

void SinglePlCSel::update(int) {}

void SinglePlCSel::draw() {
    drawDimmedBackdrop(TEX_SPACE2, 0.7f);
    drawTitleStrip(0.15f, 0.842f, 0.85f, 0.932f, 0.27f, 0.40f, 1, 1, 0);
    const int count = int(campaigns.size());
    if (count == 0) drawText(pixelX(0.1), pixelY(0.75), 1, 1, 1, 1, "No campaigns found.");
    for (int i = top; i < std::min(top + CAMPAIGNS_SHOWN, count); ++i)
        drawCampaign(campaigns[size_t(i)], listRowY(CAMPAIGN_PANEL, i - top), i == selected);
    drawScrollArrows(top >= 1, top + 1 < count - 1, CAMPAIGN_ARROWS);
    char text[64];
    std::snprintf(text, sizeof text, "Number of campaigns: %d", count);
    drawText(pixelX(0.07), pixelY(0.22), 0.8f, 1, 1, 1, text);
    drawListPanel(CAMPAIGN_PANEL);
}

void SinglePlCSel::drawCampaign(const CampaignEntry& campaign, double y, bool chosen) {
    const CampaignDescription& fields = campaign.description;
    const float green = chosen ? 0.0f : 1.0f;
    drawText(pixelX(0.1), pixelY(y), 1, 1, green, 1, fields.name.c_str());
    const std::string levels = fields.levels + " levels";
    drawText(rightAligned(levels), pixelY(y), 0.8f, 1, green, 1, levels.c_str());
    const std::string byline = fields.date + " by " + fields.author;
    drawText(rightAligned(byline), pixelY(y - 0.039), 0.8f, 1, green, 1, byline.c_str());
    // Lines of up to 57 characters, broken between words.
    const std::vector<std::string> lines = wrapDescription(fields.description, DESCRIPTION_PIECE);
    for (size_t k = 1; k <= lines.size(); ++k)
        drawText(pixelX(0.1), pixelY(y - double(k + 1) * 0.039), 0.8f, 1, green, 1, lines[k - 1].c_str());
}
