#pragma once

#include "core/gamestate.h"
#include "editor/editor_model.h"

// The level editor screen. Everything it edits, and every rule of its keys,
// mouse and dialogs, lives in EditorModel; this state passes SDL events on
// and draws. While the model's test-drive runs, the screen is the drive's.
class LevelEd : public Gamestate {
public:
    void enter() override;
    int handleEvent(SDL_Event event, SDL_Keysym key) override;
    void draw() override;
    void update(int elapsedMs) override;
    bool drivesCrafts() const override { return model.driving(); }

    EditorModel model;

private:
    // When a test-drive starts: its camera's projection, no mouse cursor;
    // when it ends, the cursor again.
    void followDrive();
    bool showingDrive_ = false;
};
