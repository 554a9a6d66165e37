#pragma once

#include <string>

#include "editor/editor_dialogs/file_dialog.h"
#include "editor/editor_dialogs/medal_dialog.h"
#include "editor/editor_dialogs/trigger_dialog.h"
#include "editor/editor_projection.h"
#include "editor/editor_undo.h"
#include "editor/test_drive.h"
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
    DIALOG_MEDALS = 7,
    DIALOG_DRIVE_RESULT = 8  // a test-drive reached the goal
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

// The buttons at the top of the right-hand column.
enum class ToolbarButton { None, ViewToggle, NewLevel, Save, Load };

// A one-line question answered with y or n (Escape is n). While it is open
// every other key and mouse press waits for the answer.
enum class EditorQuestion { None, Leave, NewLevel, Overwrite, SaveWithoutGoal };

// Whether the level about to be saved has a proof: the keys of a test-drive
// (or the .keys it was loaded with) for exactly its blocks.
enum class ProofState {
    None,         // never driven to the goal
    Current,      // saved beside the level as NAME.keys
    Stale,        // the blocks changed after the drive
    OtherRules    // s- and ca- levels play by other rules than a test-drive
};
// After "Saved maps/x.slv": " with its proof." and the like.
std::string proofNote(ProofState state);
// The medal dialog's line about the proof the save will write.
std::string proofLine(ProofState state);

// What a tool is called in the status line and when its icon is hovered.
std::string toolName(int tool);

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

    // One line about the last action: a refusal (block limit) or a save;
    // dialogs keep their own line.
    std::string notice;
    bool noticeIsWarning = false;
    UndoHistory history;

    // The test-drive (F5). While it drives, keys go to it and the mouse is
    // ignored; everything else here stays as it was.
    TestDrive drive;
    int32_t driveTimeMs = 0;          // the last drive that reached the goal
    std::vector<HeldKeys> proofKeys;  // its keys, or those loaded with the level
    std::vector<uint8_t> proofTrack;  // trackBytesOf the level they prove
    std::string medalProofLine;       // proofLine, as the medal dialog opened

    EditorQuestion question = EditorQuestion::None;
    std::string questionLine;  // ends in "y / n"

    // The cursor in window pixels (y down), once the mouse has moved.
    bool mouseSeen = false;
    int mouseX = 0, mouseY = 0;

    // Backspace held in a dialog's text repeats after a pause.
    bool backspaceHeld = false;
    int backspaceHeldMs = 0;
    int backspaceRepeats = 0;

    EditorModel();

    // A fresh, empty level in top view with no history: entering the editor.
    void enter();
    // The toolbar's new-level button: as enter, but it asks first when work
    // is unsaved and it is one step that undo takes back.
    void newLevel();
    // The level has blocks that differ from what was last loaded or saved.
    bool hasUnsavedChanges() const;
    void resetCamera();
    void update(int elapsedMs);

    // sym: SDL key code; character: the typed Unicode character (0 if none);
    // controlHeld: a Control key is down.
    EditorResult keyDown(int sym, int character, bool controlHeld);
    // A save or load dialog is open for its name and nothing is asked.
    bool takesTypedText() const {
        return question == EditorQuestion::None && (dialog == DIALOG_SAVE || dialog == DIALOG_LOAD);
    }
    void keyUp(int sym);
    // Mouse positions in window pixels, y measured down from the top.
    void mouseDown(int button, int x, int y);
    void mouseUp(int button);
    void mouseMotion(int x, int y);

    // F5 and the toolbar's test-drive button; the result dialog's keys.
    void startTestDrive();
    bool driving() const { return drive.active(); }
    ProofState proofState(const std::string& levelName) const;
    // "gold 00: 25: 41, silver ...": the times setMedalTimesFromDrive sets.
    std::string driveMedalsText() const;
    void setMedalTimesFromDrive();

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

    // What the cursor is over, for the highlight, the icon's name and the
    // status line.
    int hoveredBlock() const;  // -1: none, or the cursor is not on the level
    std::string hoveredIconName() const;  // empty when no toolbar icon is hovered
    // The cursor on the plane of new blocks' tops (top view: x and z) or on
    // the plane x = 0 (side view: y and z), in level units.
    bool cursorLevelPoint(int& across, int& along) const;
    // "Tool: SPEED block   x 1200  z -3600   Blocks: 12"
    std::string statusText() const;

private:
    void clear();
    void resetEditing();
    void startNewLevel();
    EditorResult leaveEditor();
    void ask(EditorQuestion kind, const std::string& line);
    EditorResult answerQuestion(int sym, int character, bool controlHeld);
    void repeatBackspace(int elapsedMs);
    EditorResult editingKey(int sym, int character, bool controlHeld);
    void dialogKey(int sym, int character);
    void fileDialogKey(int sym, int character);
    void closeDialog();
    void openMedalDialog();
    void saveChosenLevel();
    void openFileDialog(bool saving);
    void requestSave();
    void driveResultKey(int sym, int character);
    void keepProof();
    void forgetProof();
    void loadProofOf(const std::string& levelPath);
    void loadChosenLevel();
    void setNotice(const std::string& line, bool warning);

    // The first block whose projected corners span the window point, or -1;
    // `last` is the last corner projected (the world origin when there are
    // no blocks), whose depth places new blocks.
    int blockAt(const ViewProjection& view3d, double windowX, double windowY, WindowPoint& last) const;

    // Window rows (y down) of the toolbar: the block tool level with y in
    // the right-hand column, the item tool at y in the left one (-1: none),
    // the button at y at the top of the right-hand column.
    int blockToolAt(int y) const;
    int itemToolAt(int y) const;
    ToolbarButton toolbarButtonAt(int y) const;
    // The test-drive button under the item column, in both views.
    bool driveButtonAt(int x, int y) const;
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

    std::vector<uint8_t> savedBytes_;  // the level as last loaded or saved
};

// One stored block as the editor makes it: 600 x 500 x 600 at (x, 0, z),
// texture repeats 1, the type's default texture slots.
Block newEditorBlock(int type, int x, int z);
