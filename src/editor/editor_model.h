#pragma once

#include <string>

#include "editor/editor_dialogs/file_dialog.h"
#include "editor/editor_dialogs/medal_dialog.h"
#include "editor/editor_dialogs/trigger_dialog.h"
#include "editor/editor_projection.h"
#include "editor/editor_undo.h"
#include "level/level.h"

// The level editor without a window: the level being built, the camera, the
// tools, the selection, dragging, the dialogs and the keys and mouse
// actions of the editing view. The LevelEd state routes SDL events here and
// draws what it holds; tests drive it the same way.

enum EditorView : int { VIEW_TOP = 0, VIEW_SIDE = 1 };

enum EditorDialog : int {
    DIALOG_NONE = 0,
    DIALOG_SAVE = 1,
    DIALOG_LOAD = 2,
    DIALOG_BONUS = 3,
    DIALOG_PUSHER = 4,
    DIALOG_PONG = 5,
    DIALOG_TRIGGER = 6,
    DIALOG_MEDALS = 7
};

// Tools 0..11 place a block of that type; the item tools put an item on a
// block and fall back to tool 0.
enum EditorTool : int {
    TOOL_CHECKPOINT = 12,
    TOOL_PONG = 13,
    TOOL_BONUS = 14,
    TOOL_PUSHER = 15,
    TOOL_POWERUP = 20
};
inline bool isItemTool(int tool) { return (tool >= TOOL_CHECKPOINT && tool <= TOOL_PUSHER) || tool == TOOL_POWERUP; }

// What a held left button does to the selected block as the cursor moves.
enum class DragKind {
    None,      // the press placed an item or hit nothing to drag
    Stretch,   // a block just created: width and length follow the cursor
    Move       // an existing block: moves on the grid (top view) or up and down (side view)
};

// A block's index must fit the 13-bit TARGET field, so a level holds at most
// this many blocks.
constexpr int EDITOR_BLOCK_LIMIT = int(TARGET_MASK) + 1;

enum class EditorResult { Stay, Leave };

struct EditorCamera {
    IntVector3 eye, target, up;
};

// 40 degrees high, near plane 50.5, far plane 400000, from the camera's eye
// to its target.
ViewProjection editorViewProjection(const EditorCamera& camera, int width, int height);

class EditorModel {
public:
    std::string mapsRoot = "maps";
    int screenWidth = 1024;   // the window the mouse positions belong to
    int screenHeight = 768;

    EditorView view = VIEW_TOP;
    EditorCamera camera;
    int tool = 0;
    Level level;
    int selected = -1;

    bool dragging = false;
    bool grabbedExisting = false;
    DragKind dragKind = DragKind::None;
    int grabOffsetX = 0, grabOffsetZ = 0;  // block corner minus the grabbed point
    int dragOriginX = 0, dragOriginZ = 0;  // a new block's snapped corner

    bool panUp = false, panDown = false, panRight = false, panLeft = false;
    bool control = false;
    int panAccumulatorMs = 0;

    int dialog = DIALOG_NONE;
    FileDialog file;
    TriggerDialog trigger;
    MedalDialog medals;
    DifficultyDialog difficulty;

    // One line about the last refused action (block limit); dialogs keep
    // their own line.
    std::string statusLine;
    UndoHistory history;

    EditorModel();

    // A fresh, empty level in top view; also the toolbar's new-level button.
    void enter();
    void resetCamera();
    void update(int elapsedMs);

    // sym: SDL key code; character: the typed Unicode character (0 if none);
    // controlHeld: a Control key is down.
    EditorResult keyDown(int sym, int character, bool controlHeld);
    void keyUp(int sym);
    // Mouse positions in window pixels, y measured down from the top.
    void mouseDown(int button, int x, int y);
    void mouseUp(int button);
    void mouseMotion(int x, int y);

    // Editing operations (also reachable from the keys above).
    void raiseSelected();
    void lowerSelected();
    void deleteSelected();
    void openTriggerDialog(bool forMotion);
    bool undo();
    bool redo();

    ViewProjection projection() const;
    // A block's index drawn white: no flags and no block triggers it.
    bool plainIndex(int index) const;

private:
    void clear();
    EditorResult editingKey(int sym, int character, bool controlHeld);
    void dialogKey(int sym, int character);
    void fileDialogKey(int sym, int character);
    void closeDialog();
    void saveChosenLevel();
    void loadChosenLevel();

    bool toolbarClick(int x, int y);
    bool itemStripClick(int x, int y);
    void viewClick(int x, int y);
    void placeItem(int blockIndex, int worldX, int worldZ);
    void placeBlock(int worldX, int worldZ);
    void toggleView();

    // Opens an undo step (unless one is open) before an edit.
    void beginEdit();
    // Closes it once no drag and no dialog is left.
    void finishEditIfIdle();
    // Every change to the stored blocks goes through these two, so the play
    // code's cached ground-scan index never outlives the layout it was built
    // from. Take the reference for one change at a time.
    Block& editBlock(int index);
    std::vector<Block>& editBlocks();
    const Block* selectedBlock() const;
};

// One stored block as the editor makes it: 600 x 500 x 600 at (x, 0, z),
// texture repeats 1, the type's default texture slots.
Block newEditorBlock(int type, int x, int z);
