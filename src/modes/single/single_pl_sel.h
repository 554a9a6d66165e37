#pragma once

#include <string>

#include "core/gamestate.h"
#include "modes/single/campaign.h"

// The levels of one campaign with their records, the skips left and the
// rank. Rebuilt from the folder and single.stat on every visit, so a finish
// or skip shows at once. The cursor never passes the first open level.
class SinglePlSel : public Gamestate {
public:
    void enter() override;
    int handleEvent(SDL_Event event, SDL_Keysym key) override;
    void draw() override;
    void update(int elapsedMs) override;

    // Up / down by one level, scrolling the window of eleven rows.
    void moveSelection(int delta);
    // Puts the cursor on a level, scrolled into view as moving there would.
    void selectLevel(int index);
    // 's': skips the first open level when a skip is left.
    void skipSelected();
    // Writes single.stat. When it cannot be written the list goes back to
    // what the file holds and says so in one line, so nothing unsaved looks
    // kept. 0 or -1.
    int saveProgress();

    std::string campaignDirectory;  // full folder name under maps/
    std::string campaignTitle;      // from description.txt
    CampaignProgress campaign;
    int top = 0;
    int selected = 0;
    std::string notice;  // one line about a save that failed; cleared by the next key

private:
    void playSelected();
    void drawRows();
};

constexpr int LEVEL_ROWS_SHOWN = 11;
