#pragma once

#include <string>

#include "core/gamestate.h"
#include "modes/single/campaign.h"
#include "modes/single/single_run.h"
#include "sim/physics.h"

// One level of a campaign. The level list loads the level into `run` and
// names it (levelIndex) before switching here; a finish updates the list's
// progress, saves it and shows the result until a key goes back to the list,
// its cursor on the next open level. Escape leaves without saving.
class Single : public Gamestate {
public:
    void enter() override;
    int handleEvent(SDL_Event event, SDL_Keysym key) override;
    void draw() override;
    void update(int elapsedMs) override;
    bool drivesCrafts() const override { return true; }

    int loadLevel(const std::string& path) { return run.loadLevel(path); }

    SingleRun run;
    int levelIndex = 0;  // the level list's entry being played
    bool showingFinish = false;  // the finish moment: the result over the stopped level
    LevelFinish finished;

private:
    void finish();
    void leaveFinish();
    void drawFinish();
    void drawStatusPanel();
    void drawDebugLines();
    void drawBanner();

    StepAccumulator accumulator;
    int finishShownMs = 0;
};

// A key pressed in the last moments of driving must not skip the result.
constexpr int FINISH_KEY_DELAY_MS = 600;
