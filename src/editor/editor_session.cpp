// What keeps an author's work: the question before unsaved work is dropped,
// the new-level button, the file dialog's keys, saving and loading.
#include <SDL2/SDL_keycode.h>
#include <sys/stat.h>

#include <algorithm>

#include "editor/editor_model.h"
#include "core/game_paths.h"
#include "editor/editor_paths.h"
#include "level/level_file.h"

namespace {

// Held Backspace: the first repeat after this long, then one each interval.
constexpr int BACKSPACE_REPEAT_DELAY_MS = 450;
constexpr int BACKSPACE_REPEAT_INTERVAL_MS = 45;
// More than any text field holds, so a stalled frame cannot loop long.
constexpr int BACKSPACE_REPEAT_LIMIT = 64;

bool exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

}  // namespace

bool EditorModel::hasUnsavedChanges() const {
    // An empty level cannot be saved, so it holds nothing to lose.
    return !level.blocks.empty() && levelBytes(level) != savedBytes_;
}

EditorResult EditorModel::leaveEditor() {
    // Nothing is saved: leaving discards the level.
    forgetProof();
    level = Level{};
    selected = -1;
    tool = 0;
    history.clear();
    savedBytes_.clear();
    return EditorResult::Leave;
}

void EditorModel::newLevel() {
    if (hasUnsavedChanges()) {
        ask(EditorQuestion::NewLevel, "Start a new level and drop the unsaved changes? y / n");
        return;
    }
    startNewLevel();
}

void EditorModel::startNewLevel() {
    beginEdit();
    resetEditing();
    forgetProof();
    file.refresh(mapsRoot);
    finishEditIfIdle();
}

void EditorModel::ask(EditorQuestion kind, const std::string& line) {
    question = kind;
    questionLine = line;
    backspaceHeld = false;
}

EditorResult EditorModel::answerQuestion(int sym, int character, bool controlHeld) {
    const bool yes = !controlHeld && (character == 'y' || character == 'Y' || (character == 0 && sym == SDLK_y));
    const bool no = sym == SDLK_ESCAPE || character == 'n' || character == 'N' || (character == 0 && sym == SDLK_n);
    if (!yes && !no) return EditorResult::Stay;
    const EditorQuestion asked = question;
    question = EditorQuestion::None;
    questionLine.clear();
    if (no) return EditorResult::Stay;
    switch (asked) {
        case EditorQuestion::Leave: return leaveEditor();
        case EditorQuestion::NewLevel: startNewLevel(); break;
        case EditorQuestion::Overwrite: openMedalDialog(); break;
        case EditorQuestion::SaveWithoutGoal: openFileDialog(true); break;
        case EditorQuestion::None: break;
    }
    return EditorResult::Stay;
}

void EditorModel::repeatBackspace(int elapsedMs) {
    if (!backspaceHeld) return;
    const bool textOpen = dialog == DIALOG_SAVE || dialog == DIALOG_LOAD || dialog == DIALOG_TRIGGER;
    if (!textOpen || question != EditorQuestion::None) {
        backspaceHeld = false;
        return;
    }
    backspaceHeldMs += elapsedMs;
    while (backspaceRepeats < BACKSPACE_REPEAT_LIMIT &&
           backspaceHeldMs >= BACKSPACE_REPEAT_DELAY_MS + backspaceRepeats * BACKSPACE_REPEAT_INTERVAL_MS) {
        ++backspaceRepeats;
        dialogKey(SDLK_BACKSPACE, '\b');
    }
}

void EditorModel::setNotice(const std::string& line, bool warning) {
    notice = line;
    noticeIsWarning = warning;
}

// ---- the file dialog ---------------------------------------------------------

void EditorModel::openFileDialog(bool saving) {
    beginEdit();
    dialog = saving ? DIALOG_SAVE : DIALOG_LOAD;
    file.open(mapsRoot, saving);
}

// A level without blocks has no start block and cannot be saved (the
// dialog says so as it opens); one without a goal can be, after a question,
// though no run will ever finish it.
void EditorModel::requestSave() {
    const bool hasGoal = std::any_of(level.blocks.begin(), level.blocks.end(),
                                     [](const Block& block) { return block.type == BLOCK_GOAL; });
    if (hasGoal || level.blocks.empty()) {
        openFileDialog(true);
        if (level.blocks.empty()) file.message = "No start block: a level without blocks cannot be saved.";
        return;
    }
    ask(EditorQuestion::SaveWithoutGoal, "No goal block: no run can finish this level. Save it anyway? y / n");
}

void EditorModel::fileDialogKey(int sym, int character) {
    switch (sym) {
        case SDLK_UP: file.selectPrevious(); return;
        case SDLK_DOWN: file.selectNext(); return;
        case SDLK_BACKSPACE: file.erase(); return;
        case SDLK_ESCAPE: closeDialog(); return;
        case SDLK_RETURN:
        case SDLK_KP_ENTER: {
            if (file.confirm(mapsRoot) != FileDialogOutcome::Chosen) return;
            if (dialog == DIALOG_LOAD) {
                loadChosenLevel();
                return;
            }
            const LevelPath target = resolveLevelPath(mapsRoot, file.folder, file.name, PathUse::Save);
            if (target.ok && exists(readableFile(target.path))) {
                ask(EditorQuestion::Overwrite, fileNameOf(target.path) + " exists. Overwrite it? y / n");
                return;
            }
            openMedalDialog();
            return;
        }
        default: file.typeCharacter(character); return;
    }
}

void EditorModel::openMedalDialog() {
    dialog = DIALOG_MEDALS;
    medals.open();
    medalProofLine = proofLine(proofState(file.name));
}

void EditorModel::saveChosenLevel() {
    std::string error;
    const ProofState proof = proofState(file.name);
    const std::vector<HeldKeys> none;
    const std::vector<HeldKeys>* written = proof == ProofState::OtherRules ? nullptr
                                           : proof == ProofState::Current  ? &proofKeys
                                                                           : &none;
    if (saveEditorLevel(level, mapsRoot, file.folder, file.name, error, written) != 0) {
        // The dialog stays open with the reason; the old file is untouched.
        file.message = error;
        return;
    }
    savedBytes_ = levelBytes(level);
    const LevelPath path = resolveLevelPath(mapsRoot, file.folder, file.name, PathUse::Save);
    file.message.clear();
    file.refresh(mapsRoot);
    closeDialog();
    if (error.empty())
        setNotice("Saved " + shownLevelPath(file.folder, fileNameOf(path.path)) + proofNote(proof), false);
    else
        setNotice(error, true);
}

void EditorModel::loadChosenLevel() {
    Level loaded;
    std::string error;
    if (loadEditorLevel(loaded, mapsRoot, file.folder, file.name, error) != 0) {
        file.message = error;
        return;
    }
    level = std::move(loaded);
    savedBytes_ = levelBytes(level);
    loadProofOf(resolveLevelPath(mapsRoot, file.folder, file.name).path);
    // The old selection may lie past the new level's end.
    selected = -1;
    dragging = grabbedExisting = false;
    dragKind = DragKind::None;
    view = VIEW_TOP;
    resetCamera();
    camera.target = {0, 0, 0};
    closeDialog();
}
