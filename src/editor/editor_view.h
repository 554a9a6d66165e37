#pragma once

#include "editor/editor_model.h"

// Draws the editor: the level from the editor's camera with the selected
// block in grey, motions as ghost copies joined by lines, item markers and
// the start line, then the open dialog, the toolbar and the selected index.
// Uses the projection the model picks with, so what is seen is what is hit.
void drawEditor(const EditorModel& model);

// The test-drive: the level from the craft's chase camera, the run clock
// and a line saying how to get back.
void drawTestDrive(TestDrive& drive);
