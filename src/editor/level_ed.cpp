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

int LevelEd::handleEvent(SDL_Event event, SDL_Keysym key) {
    model.screenWidth = screenWidth;
    model.screenHeight = screenHeight;
    if (model.driving() && event.type == SDL_KEYDOWN && (key.sym == SDLK_BACKQUOTE || key.sym == SDLK_TAB)) {
        openConsole();
        return 0;
    }
    switch (event.type) {
        // Text reaches only the file dialogs' name: every other key of the
        // editor is read as the key it is.
        case SDL_TEXTINPUT:
            if (model.takesTypedText())
                for (const char* c = event.text.text; *c; ++c)
                    model.keyDown(0, static_cast<unsigned char>(*c), (key.mod & KMOD_CTRL) != 0);
            break;
        case SDL_KEYDOWN:
            if (model.keyDown(key.sym, 0, (key.mod & KMOD_CTRL) != 0) == EditorResult::Leave) {
                SDL_ShowCursor(SDL_DISABLE);
                switchToState(STATE_MENU);
            }
            break;
        case SDL_KEYUP: model.keyUp(key.sym); break;
        case SDL_MOUSEBUTTONDOWN: model.mouseDown(event.button.button, event.button.x, event.button.y); break;
        case SDL_MOUSEBUTTONUP: model.mouseUp(event.button.button); break;
        // A notch of the wheel is a click of button 4 (up) or 5 (down), as
        // the editor has always taken it.
        case SDL_MOUSEWHEEL: {
            const int notches = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
            for (int i = 0; i < (notches < 0 ? -notches : notches); ++i)
                model.mouseDown(notches > 0 ? 4 : 5, model.mouseX, model.mouseY);
            break;
        }
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
