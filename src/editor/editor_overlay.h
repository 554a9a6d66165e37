#pragma once

#include "editor/editor_model.h"

// The editor's 2D layer, positions as fractions of the window, y upward.

// The open dialog's panel, options and texts (nothing when none is open).
void drawEditorDialog(const EditorModel& model);
// The open question's line on its dark band (nothing when none is open).
void drawEditorQuestion(const EditorModel& model);
// The right-hand column (view, new level, save, load and in top view the
// twelve block tools) and in top view the item column on the left; the
// name of the icon under the cursor beside it.
void drawEditorToolbar(const EditorModel& model);
