#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "level/level.h"

// Undo and redo for the editor: whole-level snapshots in the file's own
// bytes (64 per block), so a step restores exactly what a save would write.
// An editing operation opens a step when it starts (a mouse press, a key, a
// dialog) and the step is kept when the editor is idle again and the level
// differs, so a control-drag and the trigger dialog it opens are one step.

constexpr size_t UNDO_STEP_LIMIT = 128;

struct EditorSnapshot {
    std::vector<uint8_t> levelBytes;
    int selected = -1;
};

EditorSnapshot takeSnapshot(const Level& level, int selected);
// Puts the snapshot back; the selection is kept only when it names a block.
void restoreSnapshot(const EditorSnapshot& snapshot, Level& level, int& selected);

class UndoHistory {
public:
    void clear();
    // Starts a step unless one is open.
    void begin(const Level& level, int selected);
    bool stepOpen() const { return open_; }
    // Ends the open step; it is kept when the level changed, which also
    // drops whatever could be redone.
    void commit(const Level& level);

    // Each returns false when there is nothing to take back or redo.
    bool undo(Level& level, int& selected);
    bool redo(Level& level, int& selected);

    size_t undoSteps() const { return undo_.size(); }
    size_t redoSteps() const { return redo_.size(); }

private:
    std::deque<EditorSnapshot> undo_;
    std::vector<EditorSnapshot> redo_;
    EditorSnapshot pending_;
    bool open_ = false;
};
