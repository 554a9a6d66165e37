#include "support/editor_fixture.h"

#include <SDL2/SDL_keycode.h>

#include <cmath>

EditorFixture::EditorFixture() {
    editor.mapsRoot = maps.path();
    editor.screenWidth = 1024;
    editor.screenHeight = 768;
    editor.enter();
}

void EditorFixture::screenOf(int x, int y, int z, int& mouseX, int& mouseY) const {
    WindowPoint window;
    editor.projection().project({double(x), double(y), double(z)}, window);
    mouseX = int(std::lround(window.x));
    mouseY = editor.screenHeight - int(std::lround(window.y));
}

void EditorFixture::pressWorld(int x, int z, int y) {
    int mouseX = 0, mouseY = 0;
    screenOf(x, y, z, mouseX, mouseY);
    editor.mouseDown(1, mouseX, mouseY);
}

void EditorFixture::moveToWorld(int x, int z, int y) {
    int mouseX = 0, mouseY = 0;
    screenOf(x, y, z, mouseX, mouseY);
    editor.mouseMotion(mouseX, mouseY);
}

void EditorFixture::clickWorld(int x, int z, int y) {
    pressWorld(x, z, y);
    release();
}

void EditorFixture::clickScreen(int x, int y) {
    editor.mouseDown(1, x, y);
    editor.mouseUp(1);
}

void EditorFixture::openToolbarDialog(double fraction) {
    clickScreen(editor.screenWidth - 10, int(fraction * editor.screenHeight));
    if (editor.question == EditorQuestion::SaveWithoutGoal) key(SDLK_y, 'y');
}

void EditorFixture::type(const std::string& text) {
    for (char c : text) editor.keyDown(0, c, false);
}

// A pixel spans about 45 world units from the start height, so the click
// lands half a grid step inside the cell, on the side away from zero.
void EditorFixture::placeBlockAt(int x, int z) { clickWorld(x < 0 ? x - 150 : x + 150, z < 0 ? z - 150 : z + 150); }
