#pragma once

#include <string>
#include <vector>

#include "core/gamestate.h"
#include "modes/single/campaign.h"

// The campaign list: every campaign folder under maps/ with the name, level
// count, date, author and description from its description.txt, two at a
// time. Return opens the campaign's level list.
class SinglePlCSel : public Gamestate {
public:
    void enter() override;
    int handleEvent(SDL_Event event, SDL_Keysym key) override;
    void draw() override;
    void update(int elapsedMs) override;

    // Up / down by one campaign, scrolling the window of two.
    void moveSelection(int delta);

    std::vector<CampaignEntry> campaigns;
    int top = 0;
    int selected = 0;

private:
    void openSelected();
    void drawCampaign(const CampaignEntry& campaign, double y, bool chosen);
};

constexpr int CAMPAIGNS_SHOWN = 2;
