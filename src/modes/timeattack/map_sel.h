#pragma once

#include <cstdint>

#include "core/gamestate.h"
#include "modes/timeattack/record_replay.h"
#include "modes/timeattack/records.h"

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

    RecordTotals totals;  // of the maps that have a record
    int mapCount = 0;
    int selected = 0;
    int firstVisibleRow = 0;
    RecordReplay replay;      // R: the selected map's record run
    int watchRefusedFor = -1; // the map R found no record run on

private:
    void watchSelectedRecord();
    void replayKey(int sym);
    void drawReplay();
    void drawWatchLine();
    void startSelectedMap();
    void drawRows();
    void drawFooter();
};

constexpr int MAPSEL_VISIBLE_ROWS = 11;
