#include "frontend/console.h"

#include <GL/gl.h>

#include "core/globals.h"
#include "frontend/console_commands.h"
#include "frontend/console_history.h"
#include "frontend/console_print.h"
#include "render/camera.h"
#include "render/text.h"
#include "render/textures.h"

void Console::enter() {
    line_.clear();
    consoleHistory.clear();
}

int Console::handleEvent(SDL_Event event, SDL_Keysym key) {
    // A key let go while the console is open is let go in the paused game
    // too; it would otherwise stay held and drive the craft once the console
    // closes.
    if (event.type == SDL_KEYUP && returnState != nullptr && returnState != this)
        return returnState->handleEvent(event, key);
    // The typed characters, not the keys. The text of the key that opened
    // or closes the console never arrives here (the main loop drops the
    // text of a key that changed the screen).
    if (event.type == SDL_TEXTINPUT) line_.insertText(event.text.text);
    if (event.type != SDL_KEYDOWN) return 0;
    switch (key.sym) {
        case SDLK_TAB:
        case SDLK_BACKQUOTE: closeConsole(); break;
        case SDLK_BACKSPACE: line_.backspace(); break;
        case SDLK_UP: line_.historyUp(); break;
        case SDLK_DOWN: line_.historyDown(); break;
        case SDLK_RETURN:
        case SDLK_KP_ENTER: run(line_.submit()); break;
        default: break;
    }
    return 0;
}

void Console::run(const std::string& command) {
    ConsoleCommandResult result = runConsoleCommand(command);
    if (result.wireframeChanged) setWireframe(wireframe);
    if (result.reloadTextures) loadTextures();
    for (const std::string& line : result.replies) consolePrint(line.c_str());
}

void Console::draw() {
    // The paused state underneath, tinted blue where it keeps the colour.
    glColor3f(0.5f, 0.5f, 1.0f);
    if (returnState && returnState != this) returnState->draw();
    drawBackground();
    drawLines();
}

void Console::drawBackground() const {
    if (wireframe) {
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        glEnable(GL_CULL_FACE);
    }
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);  // the greys are meant as given, not lit
    beginOverlay();
    const int top = screenHeight;
    const int panelBottom = static_cast<int>(0.6992 * screenHeight);
    const int bandBottom = static_cast<int>(0.681 * screenHeight);
    glBegin(GL_QUADS);
    glColor3f(0.25f, 0.25f, 0.25f);
    glVertex2i(0, panelBottom);
    glVertex2i(screenWidth, panelBottom);
    glVertex2i(screenWidth, top);
    glVertex2i(0, top);
    glColor3f(0.35f, 0.35f, 0.35f);
    glVertex2i(0, bandBottom);
    glVertex2i(screenWidth, bandBottom);
    glVertex2i(screenWidth, panelBottom);
    glVertex2i(0, panelBottom);
    glEnd();
    endOverlay();
    glColor3f(1, 1, 1);
    glEnable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    if (wireframe) {
        // Back to the wireframe look for the next frame's scene.
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_CULL_FACE);
    }
}

void Console::drawLines() const {
    const float grey = 0.8f;
    for (int i = ConsoleHistory::LINES - 1; i >= 0; --i) {
        int y = static_cast<int>(0.977 * screenHeight - (ConsoleHistory::LINES - 1 - i) * 0.013 * screenHeight);
        drawText(0, y, 0.5f, grey, grey, grey, consoleHistory.line(i));
    }
    drawText(0, static_cast<int>(0.697 * screenHeight), 0.5f, grey, grey, grey, line_.text().c_str());
}

void Console::update(int) {}
