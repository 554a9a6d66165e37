#pragma once

#include <string>

#include "core/gamestate.h"
#include "modes/multi/multiplayer_settings_file.h"
#include "modes/multi/race_run.h"

// The two-player race on a split screen: craft A (first key group) below,
// craft B (second group) above. ModeSelM chooses the level; RaceEnd starts
// the same level again.
class RaceM : public Gamestate {
public:
    void enter() override;
    int handleEvent(SDL_Event event, SDL_Keysym key) override;
    void draw() override;
    void update(int elapsedMs) override;
    bool drivesCrafts() const override { return true; }

    // Reads the level to race on; -1 (and "Level not found.") when it
    // cannot be played. Every start of the mode plays `chosen`, the
    // settings of the mode selection.
    int chooseLevel(const std::string& path, const MultiplayerSettings& chosen);

    RaceRun run;
    std::string levelPath;
    MultiplayerSettings modeSettings;

private:
    void drawHalf(int player);
    void drawDebugLines();
};
