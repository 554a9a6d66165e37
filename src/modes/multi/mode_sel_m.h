#pragma once

#include <GL/gl.h>

#include <vector>

#include "core/gamestate.h"
#include "frontend/save_notice.h"
#include "modes/multi/mode_menu.h"

// The two-player entry screen: Castle Attack, Race and Options pages, the
// map lists with their preview pictures, and multiplayer.ini.
class ModeSelM : public Gamestate {
public:
    void enter() override;
    int handleEvent(SDL_Event event, SDL_Keysym key) override;
    void draw() override;
    void update(int elapsedMs) override;

    ModeMenu menu;
    SaveNotice saveNotice;  // multiplayer.ini could not be written

private:
    void startSelectedMap();
    bool saveSettings();
    void loadPreviews();
    void releasePreviews();
    void leaveTo(int state);
    void drawPageNames();
    void drawMapPage();
    void drawOptionsPage();

    std::vector<GLuint> previews;  // castle maps first, then race maps
};
