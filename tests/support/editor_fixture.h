#pragma once

#include <gtest/gtest.h>

#include <string>

#include "editor/editor_model.h"
#include "support/sim_fixtures.h"
#include "support/temp_dir.h"

// An editor whose maps folder is a fresh temporary folder, with sounds
// recorded, driven by the same key and mouse calls the LevelEd state makes.
class EditorFixture : public ::testing::Test {
protected:
    EditorFixture();

    // Where a world point shows in the 1024 x 768 window (y down, as the
    // mouse reports it).
    void screenOf(int x, int y, int z, int& mouseX, int& mouseY) const;
    // Left press and release on a world point (y 0: the top of new blocks).
    void clickWorld(int x, int z, int y = 0);
    void pressWorld(int x, int z, int y = 0);
    void moveToWorld(int x, int z, int y = 0);
    void release() { editor.mouseUp(1); }
    // A press in window pixels, released at once.
    void clickScreen(int x, int y);
    // A button of the right-hand column at `fraction` of the height from the
    // top. Save does not stop at the question about a missing goal.
    void openToolbarDialog(double fraction);

    void key(int sym, int character = 0, bool control = false) { editor.keyDown(sym, character, control); }
    void type(const std::string& text);

    // Places a block of the current tool with its corner at the grid point
    // (x, z) and selects it. Clicks land to the nearest pixel, about 45
    // world units at the start height: tests pick points away from grid lines.
    void placeBlockAt(int x, int z);

    const BlockBody& body(int index) const { return editor.level.blocks[size_t(index)].body; }

    SimServices services;
    TempDir maps{"tavrelo-editor-maps"};
    EditorModel editor;
};
