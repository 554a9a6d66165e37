#include "editor/level_ed.h"

#include <GL/gl.h>

#include "core/globals.h"
#include "editor/editor_view.h"
#include "render/camera.h"
#include "sim/view_angle.h"

void LevelEd::enter() {
    SDL_ShowCursor(SDL_ENABLE);
    showingDrive_ = false;
    model.screenWidth = screenWidth;
    model.screenHeight = screenHeight;
    model.enter();
}

int LevelEd::handleEvent(SDL_Event event, SDL_keysym key) {
    model.screenWidth = screenWidth;
    model.screenHeight = screenHeight;
    if (model.driving() && event.type == SDL_KEYDOWN && (key.sym == SDLK_BACKQUOTE || key.sym == SDLK_TAB)) {
        openConsole();
        return 0;
    }
    switch (event.type) {
        case SDL_KEYDOWN:
            if (model.keyDown(key.sym, key.unicode, (key.mod & KMOD_CTRL) != 0) == EditorResult::Leave) {
                SDL_WM_GrabInput(SDL_GRAB_ON);
                SDL_ShowCursor(SDL_DISABLE);
                switchToState(STATE_MENU);
            }
            break;
        case SDL_KEYUP: model.keyUp(key.sym); break;
        case SDL_MOUSEBUTTONDOWN: model.mouseDown(event.button.button, event.button.x, event.button.y); break;
        case SDL_MOUSEBUTTONUP: model.mouseUp(event.button.button); break;
        case SDL_MOUSEMOTION: model.mouseMotion(event.motion.x, event.motion.y); break;
        default: break;
    }
    followDrive();
    return 0;
}

void LevelEd::followDrive() {
    if (showingDrive_ == model.driving()) return;
    showingDrive_ = model.driving();
    SDL_ShowCursor(showingDrive_ ? SDL_DISABLE : SDL_ENABLE);
    if (!showingDrive_) return;
    setProjectionSetter(loadTimeAttackProjection);
    loadTimeAttackProjection(model.drive.run.craft);
}

void LevelEd::draw() {
    if (model.driving()) drawTestDrive(model.drive);
    else drawEditor(model);
}

void LevelEd::update(int elapsedMs) {
    model.update(elapsedMs);
    followDrive();
}
