#include "editor/editor_undo.h"

#include "level/level_file.h"

EditorSnapshot takeSnapshot(const Level& level, int selected) {
    EditorSnapshot snapshot;
    snapshot.levelBytes = levelBytes(level);
    snapshot.selected = selected;
    return snapshot;
}

void restoreSnapshot(const EditorSnapshot& snapshot, Level& level, int& selected) {
    Level restored;
    if (readLevel(snapshot.levelBytes, restored) != 0) return;  // our own bytes always read back
    level = std::move(restored);
    selected = level.validIndex(snapshot.selected) ? snapshot.selected : -1;
}

void UndoHistory::clear() {
    undo_.clear();
    redo_.clear();
    pending_ = EditorSnapshot{};
    open_ = false;
}

void UndoHistory::begin(const Level& level, int selected) {
    if (open_) return;
    pending_ = takeSnapshot(level, selected);
    open_ = true;
}

void UndoHistory::commit(const Level& level) {
    if (!open_) return;
    open_ = false;
    if (levelBytes(level) == pending_.levelBytes) return;
    undo_.push_back(std::move(pending_));
    if (undo_.size() > UNDO_STEP_LIMIT) undo_.pop_front();
    redo_.clear();
}

bool UndoHistory::undo(Level& level, int& selected) {
    if (open_ || undo_.empty()) return false;
    redo_.push_back(takeSnapshot(level, selected));
    restoreSnapshot(undo_.back(), level, selected);
    undo_.pop_back();
    return true;
}

bool UndoHistory::redo(Level& level, int& selected) {
    if (open_ || redo_.empty()) return false;
    undo_.push_back(takeSnapshot(level, selected));
    restoreSnapshot(redo_.back(), level, selected);
    redo_.pop_back();
    return true;
}
