// The test-drive leaves the editor as it was, and its keys prove the level
// to the level check until the level changes.
#include <gtest/gtest.h>

#include <SDL2/SDL_keycode.h>
#include <unistd.h>

#include "core/globals.h"
#include "level/level_file.h"
#include "replay/level_check.h"
#include "support/editor_fixture.h"
#include "support/sim_levels.h"

namespace {

constexpr int W = 1024, H = 768;

// Out of z order on purpose: the drive sorts a copy, never the editor's.
const char* const ROAD =
    "block GOAL pos=900,0,3600 size=1800,500,1200\n"
    "block plain pos=900,0,0 size=1800,500,2400\n"
    "block SPEED pos=900,0,2400 size=1800,500,1200\n";

class EditorDrive : public EditorFixture {
protected:
    // Forward held from F5 until the drive ends (the goal) or `steps` pass.
    void drive(int steps = 2000) {
        key(SDLK_F5);
        ASSERT_TRUE(editor.driving());
        key(settings.keys[KEY_FORWARD2]);
        for (int i = 0; i < steps && editor.driving(); ++i) editor.update(22);
        editor.keyUp(settings.keys[KEY_FORWARD2]);
    }
    // Everything the author would see change, in one line.
    std::string editorState() const {
        std::string text;
        for (const IntVector3& v : {editor.camera.eye, editor.camera.target, editor.camera.up})
            text += std::to_string(v.x) + " " + std::to_string(v.y) + " " + std::to_string(v.z) + " ";
        for (size_t n : {size_t(editor.view), size_t(editor.tool), size_t(editor.selected + 1),
                         editor.history.undoSteps(), editor.history.redoSteps(), size_t(editor.hasUnsavedChanges()),
                         size_t(editor.dialog), size_t(animationTicks)})
            text += std::to_string(n) + " ";
        return text;
    }
    LevelReport check(const std::string& name) { return checkLevel(maps.file(name + ".slv"), name); }
    void save(const std::string& name) {
        openToolbarDialog(0.16);
        type(name);
        key(SDLK_RETURN);
        if (editor.question == EditorQuestion::Overwrite) key(SDLK_y, 'y');
        key(SDLK_RETURN);  // the medal times as they are
    }
};

TEST_F(EditorDrive, EscapeAndTheGoalLeaveTheEditorAsItWas) {
    editor.level = levelFromText(ROAD);
    placeBlockAt(6000, 0);
    key(SDLK_m, 'm');  // raised: two steps, one undone
    editor.undo();
    clickScreen(W / 2, H / 2);  // selects a road block
    editor.tool = 5;
    editor.mouseDown(4, W / 2, H / 2);  // closer
    const std::string before = editorState();
    const std::vector<uint8_t> bytes = levelBytes(editor.level);

    drive(10);
    ASSERT_TRUE(editor.driving());
    editor.mouseDown(1, W / 3, H / 3);  // the mouse does nothing while driving
    editor.mouseUp(1);
    key(SDLK_ESCAPE);
    EXPECT_FALSE(editor.driving());
    EXPECT_EQ(editorState(), before);
    EXPECT_EQ(levelBytes(editor.level), bytes);

    drive();
    ASSERT_EQ(editor.dialog, DIALOG_DRIVE_RESULT) << "the goal";
    EXPECT_GT(editor.driveTimeMs, 0);
    key(SDLK_RETURN);
    EXPECT_EQ(editorState(), before);
    EXPECT_EQ(levelBytes(editor.level), bytes);
}

TEST_F(EditorDrive, ItsProofPassesTheLevelCheckUntilTheLevelChanges) {
    editor.level = levelFromText(ROAD);
    drive();
    key(SDLK_RETURN);
    save("road");
    EXPECT_NE(editor.notice.find("with its proof"), std::string::npos) << editor.notice;
    EXPECT_TRUE(check("road").proofFaults().empty());

    editor.selected = 1;  // the SPEED block, once saved in z order: a gap
    key(SDLK_DELETE);
    save("road");
    EXPECT_NE(editor.notice.find("proof stale"), std::string::npos) << editor.notice;
    EXPECT_NE(access(maps.file("road.keys").c_str(), F_OK), 0) << "the old proof drove the old track";
    EXPECT_FALSE(check("road").proofFaults().empty());
}

TEST_F(EditorDrive, SavingWithoutAStartBlockOrAGoalSaysWhatIsMissing) {
    clickScreen(W - 10, int(0.16 * H));
    EXPECT_NE(editor.file.message.find("No start block"), std::string::npos);
    key(SDLK_ESCAPE);
    editor.level = levelFromText("block plain pos=0,0,0\n");
    clickScreen(W - 10, int(0.16 * H));
    ASSERT_EQ(editor.question, EditorQuestion::SaveWithoutGoal);
    EXPECT_NE(editor.questionLine.find("No goal"), std::string::npos);
    key(SDLK_y, 'y');
    EXPECT_EQ(editor.dialog, DIALOG_SAVE);
}

}  // namespace
