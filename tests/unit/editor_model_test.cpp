// The editor model driven as the LevelEd state drives it: keys, mouse
// presses on world points, dialogs, save and load, undo.
#include <gtest/gtest.h>

#include <SDL2/SDL_keycode.h>
#include <sys/stat.h>

#include "level/level_file.h"
#include "support/editor_fixture.h"
#include "support/sim_levels.h"

namespace {
constexpr int W = 1024, H = 768;
}

using EditorEditing = EditorFixture;

TEST_F(EditorEditing, EnterStartsAnEmptyTopView) {
    EXPECT_EQ(editor.view, VIEW_TOP);
    EXPECT_EQ(editor.camera.eye.y, 48000);
    EXPECT_EQ(editor.camera.up.z, 1);
    EXPECT_EQ(editor.level.blockCount(), 0);
    EXPECT_EQ(editor.selected, -1);
    EXPECT_EQ(editor.trigger.changeTypeIndex, -1);
    EXPECT_EQ(editor.trigger.targetIndex, -1);
}

TEST_F(EditorEditing, ANewBlockSnapsToTheGridAndStretchesInWholeSteps) {
    editor.tool = BLOCK_SPEED;
    pressWorld(-450, 700);  // snaps toward zero: (-300, 600)
    ASSERT_EQ(editor.level.blockCount(), 1);
    EXPECT_EQ(body(0).x, -300);
    EXPECT_EQ(body(0).z, 600);
    EXPECT_EQ(body(0).height, 500);
    EXPECT_EQ(editor.level.blocks[0].type, BLOCK_SPEED);
    EXPECT_EQ(body(0).topTexture, 1);
    EXPECT_EQ(editor.selected, 0);
    moveToWorld(-300 - 1900, 600 + 1250);  // 1900 wide, 1250 long
    EXPECT_EQ(body(0).width, 1800);
    EXPECT_EQ(body(0).length, 1200);
    EXPECT_EQ(body(0).texRepeatX, 3);
    EXPECT_EQ(body(0).texRepeatZ, 2);
    moveToWorld(-300 - 100, 600 - 3000);  // less than a step, or backwards
    EXPECT_EQ(body(0).width, 605);
    EXPECT_EQ(body(0).length, 605);
    EXPECT_EQ(body(0).texRepeatX, 1);
    release();
    EXPECT_FALSE(editor.dragging);
}

TEST_F(EditorEditing, DraggingAnExistingBlockMovesItOnThe300Grid) {
    placeBlockAt(0, 0);
    pressWorld(-300, 300);  // the middle of the block
    EXPECT_TRUE(editor.grabbedExisting);
    moveToWorld(-300 + 1000, 300 + 2000);
    EXPECT_EQ(body(0).x, 900);
    EXPECT_EQ(body(0).z, 1800);
    release();
    EXPECT_EQ(editor.dialog, DIALOG_NONE);  // no motion, no trigger dialog
    EXPECT_EQ(editor.level.blockCount(), 1);
}

TEST_F(EditorEditing, AnItemClickDoesNotStretchThePreviouslySelectedBlock) {
    placeBlockAt(0, 0);
    editor.tool = TOOL_CHECKPOINT;
    pressWorld(-300, 300);
    moveToWorld(-5000, 5000);
    release();
    EXPECT_EQ(body(0).width, 600);
    EXPECT_TRUE(body(0).has(FLAG_CHECKPOINT));
    EXPECT_NEAR(body(0).pointY, 300, 45);
    EXPECT_EQ(editor.tool, 0);
}

TEST_F(EditorEditing, ControlDragGivesAMotionAndOpensTheTriggerDialog) {
    placeBlockAt(600, 0);
    key(SDLK_LCTRL);
    pressWorld(300, 300);
    moveToWorld(300, 3300);
    release();
    editor.keyUp(SDLK_LCTRL);
    EXPECT_EQ(body(0).z, 3000);
    EXPECT_EQ(body(0).pointX, 600);
    EXPECT_EQ(body(0).pointZ, 0);
    ASSERT_EQ(editor.dialog, DIALOG_TRIGGER);
    EXPECT_EQ(editor.trigger.action, ACTION_MOVE);
    key(SDLK_RIGHT);
    key(0, '4');
    key(SDLK_RETURN);
    EXPECT_EQ(editor.dialog, DIALOG_NONE);
    EXPECT_EQ(body(0).flags, withMovePeriod(FLAG_MOVE | FLAG_START_TRIGGER, 4));
}

TEST_F(EditorEditing, EscapeInTheTriggerDialogDropsAMotionWithoutPeriod) {
    placeBlockAt(0, 0);
    key(SDLK_RCTRL);
    pressWorld(-300, 300);
    release();
    ASSERT_EQ(editor.dialog, DIALOG_TRIGGER);
    key(SDLK_ESCAPE);
    EXPECT_EQ(editor.dialog, DIALOG_NONE);
    EXPECT_EQ(body(0).flags, 0u);
    EXPECT_EQ(body(0).pointX, 1);  // the far end at x 0 is stored one unit aside
}

TEST_F(EditorEditing, RaiseAndLowerStepBy500NeverBelow500) {
    placeBlockAt(0, 0);
    key(0, '+');
    key(SDLK_m);
    EXPECT_EQ(body(0).height, 1500);
    EXPECT_EQ(body(0).texRepeatY, 3);
    key(SDLK_MINUS);
    key(SDLK_n);
    key(SDLK_n);
    EXPECT_EQ(body(0).height, 500);
    EXPECT_EQ(body(0).texRepeatY, 1);
}

TEST_F(EditorEditing, DeleteRenumbersAndClearsTargets) {
    editor.level = levelFromText(
        "block plain pos=0,0,0 flags=HAS_TARGET,TOUCH_TRIGGER target=2\n"   // names the removed block
        "block plain pos=0,0,600 flags=HAS_TARGET target=3\n"              // names a later block
        "block plain pos=0,0,1200\n"
        "block plain pos=0,0,1800 flags=HAS_TARGET target=1\n"             // names an earlier block
        "block plain pos=0,0,2400\n");
    editor.selected = 2;
    key(SDLK_DELETE);
    ASSERT_EQ(editor.level.blockCount(), 4);
    EXPECT_EQ(body(0).flags, FLAG_TOUCH_TRIGGER);  // target and its flag cleared together
    EXPECT_EQ(targetOf(body(1).flags), 2);
    EXPECT_TRUE(body(1).has(FLAG_HAS_TARGET));
    EXPECT_EQ(targetOf(body(2).flags), 1);
    EXPECT_EQ(editor.selected, 3);  // the last block
}

TEST_F(EditorEditing, PanningWaitsFor35MsAndKeepsTheRemainderModulo30) {
    key(SDLK_UP);
    editor.update(35);
    EXPECT_EQ(editor.camera.eye.z, 0);
    editor.update(30);  // 65 gathered
    EXPECT_EQ(editor.camera.eye.z, 2000);
    EXPECT_EQ(editor.camera.target.z, 2000);
    EXPECT_EQ(editor.panAccumulatorMs, 5);
    editor.keyUp(SDLK_UP);
    key(SDLK_d);
    editor.update(40);
    EXPECT_EQ(editor.camera.eye.x, -2000);  // right is -x from above
}

TEST_F(EditorEditing, WheelZoomStopsAt12000And120000) {
    for (int i = 0; i < 100; ++i) editor.mouseDown(4, 500, 400);
    EXPECT_LE(editor.camera.eye.y, 12000);
    EXPECT_GT(editor.camera.eye.y, 12000 - 1500);
    for (int i = 0; i < 100; ++i) editor.mouseDown(5, 500, 400);
    EXPECT_GE(editor.camera.eye.y, 120000);
    EXPECT_LT(editor.camera.eye.y, 120000 + 1500);
}

TEST_F(EditorEditing, ToolbarPicksToolsAndSurvivesATinyWindow) {
    const int x = W - 10;
    clickScreen(x, int(0.261 * H) + 3 * int(0.0586 * H) + 2);
    EXPECT_EQ(editor.tool, 3);
    clickScreen(x, H - 1);
    EXPECT_EQ(editor.tool, 11);  // clamped
    clickScreen(x, 10);          // the view toggle
    EXPECT_EQ(editor.view, VIEW_SIDE);
    EXPECT_EQ(editor.camera.eye.x, -56000);
    clickScreen(x, 10);
    EXPECT_EQ(editor.view, VIEW_TOP);

    editor.screenHeight = 12;  // int(0.0586 x 12) is 0
    editor.screenWidth = 32;
    clickScreen(31, 11);
    clickScreen(0, 2);
    EXPECT_GE(editor.tool, 0);
    EXPECT_LE(editor.tool, 15);
}

TEST_F(EditorEditing, ItemStripToolsStayBetween12And15) {
    for (int y = 0; y < int(0.255 * H); y += 3) {
        editor.tool = 0;
        clickScreen(5, y);
        EXPECT_TRUE(editor.tool == 0 || (editor.tool >= TOOL_CHECKPOINT && editor.tool <= TOOL_PUSHER)) << y;
    }
    clickScreen(5, int(0.30 * H));
    EXPECT_EQ(editor.tool, TOOL_POWERUP);
    EXPECT_GT(services.mixer.count(SOUND_SELECT), 0);
}

TEST_F(EditorEditing, APusherAsksForItsDifficulty) {
    placeBlockAt(0, 0);
    editor.tool = TOOL_PUSHER;
    clickWorld(-200, 400);
    ASSERT_EQ(editor.dialog, DIALOG_PUSHER);
    key(SDLK_ESCAPE);  // only Enter leaves
    key(SDLK_DOWN);
    key(SDLK_DOWN);
    key(SDLK_RETURN);
    EXPECT_EQ(editor.dialog, DIALOG_NONE);
    EXPECT_TRUE(body(0).has(FLAG_PUSHER));
    EXPECT_EQ(body(0).pointZ, 2);
    EXPECT_NEAR(body(0).pointY, 400, 45);
    EXPECT_NEAR(body(0).pointX, -200, 45);
}

TEST_F(EditorEditing, SideViewRaisesTheBlockIn250Steps) {
    placeBlockAt(0, 0);
    clickScreen(W - 10, 10);  // side view
    ASSERT_EQ(editor.view, VIEW_SIDE);
    pressWorld(-300, 300, -250);
    EXPECT_EQ(editor.selected, 0);
    moveToWorld(-300, 300, 1400);
    EXPECT_EQ(body(0).y, 1250);
    moveToWorld(-300, 300, -1400);
    EXPECT_EQ(body(0).y, -1250);
    release();
    EXPECT_EQ(editor.level.blockCount(), 1);  // nothing is created in side view
}

TEST_F(EditorEditing, TheBlockLimitRefusesOneMoreWithALine) {
    editor.level.blocks = std::vector<Block>(EDITOR_BLOCK_LIMIT, newEditorBlock(0, 90000, 90000));
    clickWorld(-300, 300);
    EXPECT_EQ(editor.level.blockCount(), EDITOR_BLOCK_LIMIT);
    EXPECT_NE(editor.notice.find("8192"), std::string::npos);
}

TEST_F(EditorEditing, TheIndexIsWhiteOnlyForPlainUntargetedBlocks) {
    editor.level = levelFromText(
        "block plain pos=0,0,0 flags=HAS_TARGET target=1\n"
        "block plain pos=0,0,600\n"
        "block plain pos=0,0,1200\n");
    EXPECT_FALSE(editor.plainIndex(0));
    EXPECT_FALSE(editor.plainIndex(1));
    EXPECT_TRUE(editor.plainIndex(2));
}

// ---- save, load and the dialogs around them ------------------------------------

class EditorFiles : public EditorFixture {
protected:
    void saveAs(const std::string& name) {
        openToolbarDialog(0.16);
        ASSERT_EQ(editor.dialog, DIALOG_SAVE);
        editor.file.name.clear();
        type(name);
        key(SDLK_RETURN);
    }
};

TEST_F(EditorFiles, SaveSortsByZWritesMedalsAndLoadClearsTheSelection) {
    placeBlockAt(0, 3000);
    placeBlockAt(0, 0);
    placeBlockAt(0, 1200);
    editor.selected = 0;
    key(SDLK_e);
    key(SDLK_RIGHT);
    key(SDLK_RIGHT);
    key(SDLK_UP);
    key(0, '2');  // the block at z 1200
    key(SDLK_RETURN);
    ASSERT_EQ(editor.dialog, DIALOG_NONE);

    saveAs("mine");
    ASSERT_EQ(editor.dialog, DIALOG_MEDALS);
    type("01");           // bronze 1:00
    key(SDLK_DOWN);
    type("0003");         // silver 0:03
    key(SDLK_RETURN);
    ASSERT_EQ(editor.dialog, DIALOG_NONE) << editor.file.message;

    Level saved;
    ASSERT_EQ(readLevelFile(maps.file("mine.slv"), saved), 0);
    ASSERT_EQ(saved.blockCount(), 3);
    EXPECT_EQ(saved.blocks[0].body.z, 0);
    EXPECT_EQ(saved.blocks[1].body.z, 1200);
    EXPECT_EQ(saved.blocks[2].body.z, 3000);
    EXPECT_TRUE(saved.blocks[2].body.has(FLAG_HAS_TARGET));
    EXPECT_EQ(targetOf(saved.blocks[2].body.flags), 1);  // still the block at z 1200
    EXPECT_EQ(saved.goldTime, 0);
    EXPECT_EQ(saved.silverTime, 3000);
    EXPECT_EQ(saved.bronzeTime, 60000);
    EXPECT_NE(std::find(editor.file.entries.begin(), editor.file.entries.end(), "mine.slv"), editor.file.entries.end());

    Level small = levelFromText("block GOAL pos=0,0,0\n");
    std::vector<uint8_t> bytes = levelBytes(small);
    maps.write("small.slv", std::string(bytes.begin(), bytes.end()));
    editor.selected = 2;
    openToolbarDialog(0.22);
    ASSERT_EQ(editor.dialog, DIALOG_LOAD);
    editor.file.name.clear();
    type("small");
    key(SDLK_RETURN);
    EXPECT_EQ(editor.dialog, DIALOG_NONE);
    ASSERT_EQ(editor.level.blockCount(), 1);
    EXPECT_EQ(editor.selected, -1);
    // Nothing reads past the loaded blocks now.
    key(SDLK_e);
    key(SDLK_m);
    key(SDLK_DELETE);
    EXPECT_EQ(editor.dialog, DIALOG_NONE);
    EXPECT_EQ(editor.level.blockCount(), 1);
}

TEST_F(EditorFiles, AHostileNameKeepsTheDialogOpenAndWritesNothing) {
    placeBlockAt(0, 0);
    for (const char* name : {"../x", "a/../../x", ".hidden", "single.stat", "track.gho"}) {
        saveAs(name);
        EXPECT_EQ(editor.dialog, DIALOG_SAVE) << name;
        EXPECT_FALSE(editor.file.message.empty()) << name;
        key(SDLK_ESCAPE);
    }
    EXPECT_TRUE(maps.names().empty());
}

TEST_F(EditorFiles, AFailedSaveKeepsTheMedalDialogOpenWithALine) {
    placeBlockAt(0, 0);
    saveAs("blocked");
    ASSERT_EQ(editor.dialog, DIALOG_MEDALS);
    ASSERT_EQ(mkdir(maps.file("blocked.slv").c_str(), 0755), 0);  // a folder stands in the way
    key(SDLK_RETURN);
    EXPECT_EQ(editor.dialog, DIALOG_MEDALS);
    EXPECT_FALSE(editor.file.message.empty());
}

TEST_F(EditorFiles, AMissingFileKeepsTheLevelAndSaysSo) {
    placeBlockAt(0, 0);
    openToolbarDialog(0.22);
    editor.file.name.clear();
    type("absent");
    key(SDLK_RETURN);
    EXPECT_EQ(editor.dialog, DIALOG_LOAD);
    EXPECT_FALSE(editor.file.message.empty());
    EXPECT_EQ(editor.level.blockCount(), 1);
}

// ---- undo ------------------------------------------------------------------------

using EditorUndo = EditorFixture;

TEST_F(EditorUndo, EachOperationIsOneStepBackAndForth) {
    placeBlockAt(0, 0);
    placeBlockAt(0, 1200);
    key(SDLK_m);  // raise the second
    ASSERT_EQ(body(1).height, 1000);
    EXPECT_EQ(editor.history.undoSteps(), 3u);

    key(SDLK_z, 0, true);
    EXPECT_EQ(body(1).height, 500);
    key(SDLK_z, 0, true);
    EXPECT_EQ(editor.level.blockCount(), 1);
    key(SDLK_y, 0, true);
    EXPECT_EQ(editor.level.blockCount(), 2);
    key(SDLK_y, 0, true);
    EXPECT_EQ(body(1).height, 1000);
    key(SDLK_y, 0, true);  // nothing more to redo
    EXPECT_EQ(body(1).height, 1000);

    key(SDLK_z, 0, true);
    placeBlockAt(0, 3000);  // a new edit drops what could be redone
    EXPECT_EQ(editor.history.redoSteps(), 0u);
}

TEST_F(EditorUndo, ADragAndItsTriggerDialogAreOneStep) {
    placeBlockAt(0, 0);
    key(SDLK_LCTRL);
    pressWorld(-300, 300);
    moveToWorld(-300, 2400);
    moveToWorld(-300, 4000);
    release();
    editor.keyUp(SDLK_LCTRL);
    key(SDLK_RIGHT);
    key(0, '3');
    key(SDLK_RETURN);
    ASSERT_TRUE(body(0).has(FLAG_MOVE));
    EXPECT_EQ(editor.history.undoSteps(), 2u);
    key(SDLK_z, 0, true);
    EXPECT_EQ(body(0).z, 0);
    EXPECT_EQ(body(0).flags, 0u);
    EXPECT_EQ(body(0).pointX, 0);
}

TEST_F(EditorUndo, DeleteLoadAndNewLevelAreUndoneAndEnterClearsTheHistory) {
    placeBlockAt(0, 0);
    placeBlockAt(0, 600);
    key(SDLK_DELETE);
    ASSERT_EQ(editor.level.blockCount(), 1);
    key(SDLK_z, 0, true);
    EXPECT_EQ(editor.level.blockCount(), 2);

    Level other = levelFromText("block GOAL pos=0,0,0\nblock GOAL pos=0,0,600\nblock GOAL pos=0,0,1200\n");
    std::vector<uint8_t> bytes = levelBytes(other);
    maps.write("other.slv", std::string(bytes.begin(), bytes.end()));
    clickScreen(W - 10, int(0.22 * H));
    editor.file.name = "other.slv";
    key(SDLK_RETURN);
    ASSERT_EQ(editor.level.blockCount(), 3);
    key(SDLK_z, 0, true);
    ASSERT_EQ(editor.level.blockCount(), 2);
    EXPECT_EQ(editor.level.blocks[0].type, BLOCK_PLAIN);

    clickScreen(W - 10, int(0.1 * H));  // the new-level button asks first: the level is unsaved
    key(SDLK_y, 'y');
    EXPECT_EQ(editor.level.blockCount(), 0);
    EXPECT_EQ(editor.history.undoSteps(), 3u);  // delete, load, new level
    key(SDLK_z, 0, true);
    EXPECT_EQ(editor.level.blockCount(), 2);

    editor.enter();  // entering the editor again starts without history
    EXPECT_EQ(editor.level.blockCount(), 0);
    EXPECT_EQ(editor.history.undoSteps(), 0u);
    key(SDLK_z, 0, true);
    EXPECT_EQ(editor.level.blockCount(), 0);
}

TEST_F(EditorUndo, KeepsAtLeastAHundredSteps) {
    placeBlockAt(0, 0);
    for (int i = 0; i < 150; ++i) key(SDLK_m);
    for (int i = 0; i < 100; ++i) ASSERT_TRUE(editor.undo()) << i;
    EXPECT_EQ(body(0).height, 500 + 50 * 500);
}
