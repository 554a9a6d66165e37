#pragma once

#include <string>

#include "core/gamestate.h"
#include "modes/timeattack/records_file.h"
#include "modes/timeattack/time_attack_run.h"
#include "sim/physics.h"

// One level against the clock, with the ghost of the record run beside the
// craft. MapSel loads the level and names the map before switching here;
// LevelEnd switches back here to drive the same level again.
class TimeAttack : public Gamestate {
public:
    void enter() override;
    int handleEvent(SDL_Event event, SDL_Keysym key) override;
    void draw() override;
    void update(int elapsedMs) override;
    bool drivesCrafts() const override { return true; }

    // "maps/" + the map's file name; 0, or -1 when it cannot be read.
    int loadLevel(const std::string& path) { return run.loadLevel(path); }

    TimeAttackRun run;
    int mapIndex = 0;         // entry of recordTable the run belongs to
    // The file that table is written to, and where Escape leaves for: the
    // map list's, or those of a level opened from elsewhere.
    std::string recordsFile = HIGHSCORE_FILE;
    int exitState = STATE_MAPSEL;
    int backgroundIndex = 0;  // backdrop 0..3
    std::string debugMessage;

private:
    void drawGhost();
    void drawMedalTarget();
    void drawDebugLines();

    StepAccumulator accumulator;
};

// (map index + the fifth character of its file name as a signed byte) mod 4,
// always 0..3.
int backgroundIndexFor(int mapIndex, const std::string& fileName);
