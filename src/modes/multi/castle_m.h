#pragma once

#include <string>

#include "core/gamestate.h"
#include "modes/multi/multiplayer_settings_file.h"
#include "modes/multi/castle_run.h"

// The castle-attack duel on a split screen: craft A (first key group) below
// drives toward +z, craft B (second group) above toward -z. ModeSelM
// chooses the level; CastleMEnd starts a fresh duel on it.
class CastleM : public Gamestate {
public:
    void enter() override;
    int handleEvent(SDL_Event event, SDL_Keysym key) override;
    void draw() override;
    void update(int elapsedMs) override;
    bool drivesCrafts() const override { return true; }

    // Reads the stored half and builds the arena; -1 (and "Level not
    // found.") when it cannot be played. Every start of the mode plays
    // `chosen`, the settings of the mode selection.
    int chooseLevel(const std::string& path, const MultiplayerSettings& chosen);

    CastleRun run;
    std::string levelPath;
    MultiplayerSettings modeSettings;

private:
    void drawHalf(int player);
    void drawCastleHealth(int player);
};
