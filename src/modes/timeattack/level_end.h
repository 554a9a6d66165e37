#pragma once

#include <string>

#include "core/gamestate.h"

// The record screen after a run reached the goal: the time against the
// record, and for a new record the medal and the holder's name. Enter drives
// the level again, Escape goes back to the list; both keep a new record.
class LevelEnd : public Gamestate {
public:
    void enter() override;
    int handleEvent(SDL_Event event, SDL_Keysym key) override;
    void draw() override;
    void update(int elapsedMs) override;

    // Keeps a new record: the entry's time, holder and medal, the record
    // file and the run's ghost together. Nothing without a new record, nor a
    // second time. Returns 0, or -1 when the record file could not be
    // written: the table entry is rolled back to the kept record, the ghost
    // file is left alone and the screen says the record was not saved.
    int store();

    std::string typedName;
    bool saveFailed = false;  // the record file refused the new record

private:
    void drawWithoutRecord();
    void drawNewRecord();
    bool stored = false;
};
