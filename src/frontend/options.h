#pragma once

#include <string>
#include <vector>

#include "core/gamestate.h"
#include "frontend/options_keys.h"
#include "frontend/save_notice.h"

// Key bindings of both players and five graphics settings; Escape writes
// settings.ini and gamepad.ini and returns to the menu (a failed save stays
// once, saying so).
class Options : public Gamestate, private OptionsHost {
public:
    void enter() override;
    int handleEvent(SDL_Event event, SDL_Keysym key) override;
    void draw() override;
    void update(int elapsedMs) override;
    bool takePadButton(int pad, int button) override;

    // Puts the cursor back to the first row and reads the file (or the
    // defaults when it is missing).
    void readSettingsFile();

    const OptionsCursor& cursor() const { return cursor_; }
    const SaveNotice& saveNotice() const { return saveNotice_; }

private:
    void saveAndLeave() override;
    void playSelectSound() override;
    void reloadTextures() override;

    void drawTitle() const;
    void drawKeyRows() const;
    void drawGraphicsRows() const;

    OptionsCursor cursor_;
    SaveNotice saveNotice_;
    std::vector<std::string> textureSetNames_;
    int textureSetCount_ = 0;
};
