#include "editor/editor_model.h"

#include <SDL2/SDL_keycode.h>

#include "core/services.h"
#include "editor/editor_paths.h"
#include "level/level_file.h"

namespace {

constexpr int TOP_VIEW_HEIGHT = 48000;
constexpr int SIDE_VIEW_DISTANCE = -56000;
constexpr int PAN_INTERVAL_MS = 35;
constexpr int PAN_REMAINDER_MS = 30;
constexpr int TOP_PAN_STEP = 2000;
constexpr int SIDE_PAN_STEP = 1500;

}  // namespace

Block newEditorBlock(int type, int x, int z) {
    Block block;
    block.type = type;
    BlockBody& body = block.body;
    body.x = x;
    body.y = 0;
    body.z = z;
    body.width = 600;
    body.height = 500;
    body.length = 600;
    body.texRepeatX = body.texRepeatY = body.texRepeatZ = 1;
    const BlockTextures textures = defaultBlockTextures(type);
    body.sideTexture = textures.side;
    body.topTexture = textures.top;
    body.moving = -1;  // as a freshly read block
    return block;
}

// Only fields: the state table builds the editor before the game has a
// window or has looked at any folder.
EditorModel::EditorModel() { clear(); }

void EditorModel::enter() {
    clear();
    file.refresh(mapsRoot);
}

void EditorModel::clear() {
    resetEditing();
    history.clear();
    savedBytes_.clear();
    forgetProof();
}

void EditorModel::forgetProof() {
    drive.stop();
    proofKeys.clear();
    proofTrack.clear();
}

void EditorModel::resetEditing() {
    camera.target = {0, 0, 0};
    view = VIEW_TOP;
    resetCamera();
    level = Level{};
    tool = 0;
    selected = -1;
    dragging = grabbedExisting = false;
    dragKind = DragKind::None;
    grabOffsetX = grabOffsetZ = dragOriginX = dragOriginZ = 0;
    panUp = panDown = panRight = panLeft = false;
    control = false;
    dialog = DIALOG_NONE;
    trigger.reset();
    notice.clear();
    question = EditorQuestion::None;
    questionLine.clear();
    backspaceHeld = false;
}

void EditorModel::resetCamera() {
    if (view == VIEW_TOP) {
        camera.eye = {0, TOP_VIEW_HEIGHT, 0};
        camera.up = {0, 0, 1};
    } else {
        camera.eye = {SIDE_VIEW_DISTANCE, 0, 0};
        camera.up = {0, 1, 0};
    }
}

void EditorModel::update(int elapsedMs) {
    if (driving()) {
        if (drive.update(elapsedMs) == TestDrive::Outcome::ReachedGoal) keepProof();
        return;
    }
    repeatBackspace(elapsedMs);
    panAccumulatorMs += elapsedMs;
    if (panAccumulatorMs <= PAN_INTERVAL_MS) return;
    if (dialog == DIALOG_NONE && question == EditorQuestion::None) {
        IntVector3 step;
        if (view == VIEW_TOP) {
            if (panUp) step.z += TOP_PAN_STEP;
            if (panDown) step.z -= TOP_PAN_STEP;
            if (panRight) step.x -= TOP_PAN_STEP;  // +x is the left of the screen
            if (panLeft) step.x += TOP_PAN_STEP;
        } else {
            if (panUp) step.y += SIDE_PAN_STEP;
            if (panDown) step.y -= SIDE_PAN_STEP;
            if (panRight) step.z += SIDE_PAN_STEP;
            if (panLeft) step.z -= SIDE_PAN_STEP;
        }
        for (IntVector3* point : {&camera.eye, &camera.target}) {
            point->x += step.x;
            point->y += step.y;
            point->z += step.z;
        }
    }
    panAccumulatorMs %= PAN_REMAINDER_MS;
}

ViewProjection editorViewProjection(const EditorCamera& camera, int width, int height) {
    return ViewProjection(40.0, width, height, 50.5, 400000.0, camera.eye, camera.target, camera.up);
}

ViewProjection EditorModel::projection() const { return editorViewProjection(camera, screenWidth, screenHeight); }

bool EditorModel::plainIndex(int index) const {
    if (!level.validIndex(index)) return true;
    return level.blocks[size_t(index)].body.flags == 0 && !isTargeted(level, index);
}

const Block* EditorModel::selectedBlock() const {
    return level.validIndex(selected) ? &level.blocks[size_t(selected)] : nullptr;
}

void EditorModel::beginEdit() {
    history.begin(level, selected);
    notice.clear();
}

void EditorModel::finishEditIfIdle() {
    if (!dragging && dialog == DIALOG_NONE) history.commit(level);
}

// Each gives the block list a new version, so the ground scan's index never
// describes blocks the editor has changed since.
Block& EditorModel::editBlock(int index) { return level.blocks.edit(size_t(index)); }

std::vector<Block>& EditorModel::editBlocks() { return level.blocks.editAll(); }

// ---- keys ------------------------------------------------------------------

EditorResult EditorModel::keyDown(int sym, int character, bool controlHeld) {
    if (driving()) {
        drive.keyDown(sym);
        return EditorResult::Stay;
    }
    if (question != EditorQuestion::None) return answerQuestion(sym, character, controlHeld);
    if (dialog == DIALOG_NONE) return editingKey(sym, character, controlHeld);
    if (sym == SDLK_BACKSPACE) {
        backspaceHeld = true;
        backspaceHeldMs = 0;
        backspaceRepeats = 0;
    }
    dialogKey(sym, character);
    return EditorResult::Stay;
}

void EditorModel::keyUp(int sym) {
    if (driving()) {
        drive.keyUp(sym);
        return;
    }
    switch (sym) {
        case SDLK_BACKSPACE: backspaceHeld = false; break;
        case SDLK_UP:
        case SDLK_w: panUp = false; break;
        case SDLK_DOWN:
        case SDLK_s: panDown = false; break;
        case SDLK_RIGHT:
        case SDLK_d: panRight = false; break;
        case SDLK_LEFT:
        case SDLK_a: panLeft = false; break;
        case SDLK_LCTRL:
        case SDLK_RCTRL: control = false; break;
        default: break;
    }
}

EditorResult EditorModel::editingKey(int sym, int character, bool controlHeld) {
    // Ctrl+Z and Ctrl+Y: no other editing key uses z or y, and Control alone
    // only matters together with the mouse.
    if ((controlHeld || control) && (sym == SDLK_z || sym == SDLK_y)) {
        if (dragging) return EditorResult::Stay;  // the drag is still one open step
        if (sym == SDLK_z) undo();
        else redo();
        return EditorResult::Stay;
    }
    // The key that carries "+": = on US and French keyboards.
    if (sym == SDLK_PLUS || sym == SDLK_EQUALS || sym == SDLK_KP_PLUS || character == '+') sym = SDLK_m;
    if (sym == SDLK_MINUS || sym == SDLK_KP_MINUS || character == '-') sym = SDLK_n;
    switch (sym) {
        case SDLK_ESCAPE:
            if (!hasUnsavedChanges()) return leaveEditor();
            ask(EditorQuestion::Leave, "Leave the editor and lose the unsaved changes? y / n");
            break;
        case SDLK_e: openTriggerDialog(false); break;
        case SDLK_F5:
            if (!dragging) startTestDrive();
            break;
        case SDLK_m: raiseSelected(); break;
        case SDLK_n: lowerSelected(); break;
        case SDLK_DELETE: deleteSelected(); break;
        case SDLK_UP:
        case SDLK_w: panUp = true; break;
        case SDLK_DOWN:
        case SDLK_s: panDown = true; break;
        case SDLK_RIGHT:
        case SDLK_d: panRight = true; break;
        case SDLK_LEFT:
        case SDLK_a: panLeft = true; break;
        case SDLK_LCTRL:
        case SDLK_RCTRL: control = true; break;
        default: break;
    }
    return EditorResult::Stay;
}

void EditorModel::raiseSelected() {
    if (!selectedBlock() || dragging) return;
    beginEdit();
    BlockBody& body = editBlock(selected).body;
    body.height += 500;
    body.texRepeatY += 1;
    finishEditIfIdle();
}

void EditorModel::lowerSelected() {
    const Block* block = selectedBlock();
    if (!block || dragging || block->body.height <= 500) return;
    beginEdit();
    BlockBody& body = editBlock(selected).body;
    body.height -= 500;
    body.texRepeatY -= 1;
    finishEditIfIdle();
}

void EditorModel::deleteSelected() {
    if (!level.validIndex(selected) || dragging) return;
    beginEdit();
    const int removed = selected;
    std::vector<Block>& blocks = editBlocks();
    blocks.erase(blocks.begin() + removed);
    for (Block& block : blocks) {
        BlockBody& body = block.body;
        if (!body.has(FLAG_HAS_TARGET)) continue;
        const int target = targetOf(body.flags);
        if (target == removed) body.flags = withTarget(body.flags, 0) & ~FLAG_HAS_TARGET;
        else if (target > removed) body.flags = withTarget(body.flags, target - 1);
    }
    selected = level.blockCount() - 1;
    finishEditIfIdle();
}

void EditorModel::openTriggerDialog(bool forMotion) {
    const Block* block = selectedBlock();
    if (!block) return;
    beginEdit();
    if (forMotion) trigger.presetForMotion(block->body);
    else trigger.presetFrom(block->body);
    dialog = DIALOG_TRIGGER;
}

bool EditorModel::undo() {
    if (!history.undo(level, selected)) return false;
    dragKind = DragKind::None;
    notice.clear();
    return true;
}

bool EditorModel::redo() {
    if (!history.redo(level, selected)) return false;
    dragKind = DragKind::None;
    notice.clear();
    return true;
}

// ---- dialogs -----------------------------------------------------------------

void EditorModel::closeDialog() {
    dialog = DIALOG_NONE;
    trigger.reset();
    finishEditIfIdle();
}

void EditorModel::dialogKey(int sym, int character) {
    switch (dialog) {
        case DIALOG_SAVE:
        case DIALOG_LOAD: fileDialogKey(sym, character); return;
        case DIALOG_BONUS:
        case DIALOG_PUSHER:
        case DIALOG_PONG:
            if (difficulty.key(sym) == DialogOutcome::Confirm) {
                if (selectedBlock()) editBlock(selected).body.pointZ = difficulty.difficulty;
                closeDialog();
            }
            return;
        case DIALOG_TRIGGER: {
            const Block* block = selectedBlock();
            if (!block) {
                closeDialog();
                return;
            }
            const DialogOutcome outcome = trigger.key(sym, character, block->body, level.blockCount());
            if (outcome == DialogOutcome::Confirm) {
                // Clearing the flags also takes any item off the block.
                const uint32_t flags = trigger.confirmedFlags(isTargeted(level, selected));
                editBlock(selected).body.flags = flags;
                closeDialog();
            } else if (outcome == DialogOutcome::Cancel) {
                // A cancelled control-drag leaves no motion behind.
                if (trigger.period == 0 && block->body.has(FLAG_MOVE)) editBlock(selected).body.flags = 0;
                closeDialog();
            }
            return;
        }
        case DIALOG_DRIVE_RESULT: driveResultKey(sym, character); return;
        case DIALOG_MEDALS: {
            const DialogOutcome outcome = medals.key(sym, character, level);
            if (outcome == DialogOutcome::Confirm) saveChosenLevel();
            else if (outcome == DialogOutcome::Cancel) closeDialog();
            return;
        }
        default: closeDialog(); return;
    }
}
