// A level edited in the editor drives exactly as the same level read back
// from its file: every edit reaches the play code's cached ground scan.
#include <gtest/gtest.h>

#include "level/level_file.h"
#include "sim/physics.h"
#include "support/editor_fixture.h"
#include "support/sim_levels.h"

namespace {

struct Drive {
    explicit Drive(Level& driven) : level(driven), hooks(driven), rules(timeAttackRules(hooks)) {
        rules.keys = controlKeys(2);
    }
    void step() { physicsStep(craft, level, rules); }

    Level& level;
    Craft craft;
    RecordingHooks hooks;
    PlayRules rules;
};

}  // namespace

using EditorThenDrive = EditorFixture;

TEST_F(EditorThenDrive, ABlockDraggedIntoTheGapCarriesTheCraftAsTheFileDoes) {
    // The road has a gap at z 3000..3600; the block that fills it waits off
    // to the side.
    editor.level = levelFromText(
        "block plain pos=900,0,0 size=1800,500,3000\n"
        "block plain pos=6000,0,0\n"
        "block plain pos=900,0,3600 size=1800,500,3000\n"
        "block GOAL pos=900,0,6600\n");
    Drive edited(editor.level);
    resetCraft(edited.craft, editor.level, 0);
    setKeyHeld(edited.craft, edited.rules.keys.forward, true);
    for (int i = 0; i < 20; ++i) edited.step();  // the scan builds its index on this layout
    ASSERT_LT(edited.craft.z, 3000);

    pressWorld(5700, 300);
    ASSERT_EQ(editor.selected, 1);
    moveToWorld(150, 3450);
    release();
    ASSERT_EQ(body(1).x, 300);
    ASSERT_EQ(body(1).z, 3000);

    Level fromFile;
    ASSERT_EQ(readLevel(levelBytes(editor.level), fromFile), 0);
    Drive loaded(fromFile);
    loaded.craft = edited.craft;
    bool crossedOnTop = false;
    for (int i = 0; i < 200 && edited.craft.z < 6600; ++i) {
        edited.step();
        loaded.step();
        ASSERT_EQ(edited.craft.z, loaded.craft.z) << "step " << i;
        ASSERT_EQ(edited.craft.ypos, loaded.craft.ypos) << "step " << i;
        ASSERT_EQ(edited.craft.x, loaded.craft.x) << "step " << i;
        if (edited.craft.z > 3000 && edited.craft.z < 3600) crossedOnTop = edited.craft.ypos == 150;
    }
    EXPECT_TRUE(crossedOnTop) << "the craft drives over the moved block";
    EXPECT_GE(edited.craft.z, 6600);
    EXPECT_EQ(edited.craft.ypos, 150);
    EXPECT_TRUE(edited.hooks.deaths.empty());
}
