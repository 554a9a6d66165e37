#pragma once

#include <cstdint>

#include "core/gamestate.h"

// The list of time-attack levels with their record holder, time and medal.
// The table is rebuilt from maps/ and highscore.hsc on every visit; the
// selection stays where it was.
class MapSel : public Gamestate {
public:
    void enter() override;
    int handleEvent(SDL_Event event, SDL_Keysym key) override;
    void draw() override;
    void update(int elapsedMs) override;

    // Rescans maps/ and rereads the records; keeps the selection and the
    // first visible row inside the list.
    void refresh();
    // Up / down by one row, scrolling the window of eleven rows.
    void moveSelection(int delta);

    uint32_t total = 0;    // sum of all record times, wrapping as unsigned
    uint32_t average = 0;  // 0 for an empty list
    int mapCount = 0;
    int selected = 0;
    int firstVisibleRow = 0;

private:
    void startSelectedMap();
    void drawRows();
    void drawFooter();
};

constexpr int MAPSEL_VISIBLE_ROWS = 11;
