// The editor's grid, camera arithmetic, file names and file list.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

#include "editor/editor_dialogs/file_dialog.h"
#include "editor/editor_paths.h"
#include "editor/editor_projection.h"
#include "editor/editor_snap.h"
#include "level/level_file.h"
#include "support/file_size_limit.h"
#include "support/sim_levels.h"
#include "support/temp_dir.h"

TEST(EditorSnap, ValuesSnapTowardZeroOnBothSides) {
    EXPECT_EQ(snapTowardZero(0, 300), 0);
    EXPECT_EQ(snapTowardZero(299, 300), 0);
    EXPECT_EQ(snapTowardZero(450, 300), 300);
    EXPECT_EQ(snapTowardZero(-299, 300), 0);
    EXPECT_EQ(snapTowardZero(-450, 300), -300);
    EXPECT_EQ(snapTowardZero(-600, 300), -600);
    EXPECT_EQ(snapTowardZero(-1249, 250), -1000);
    EXPECT_EQ(snapTowardZero(1249, 250), 1000);
}

TEST(EditorSnap, StretchedSidesBelowOneStepBecome605) {
    EXPECT_EQ(stretchedSize(0), 605);
    EXPECT_EQ(stretchedSize(599), 605);
    EXPECT_EQ(stretchedSize(-2000), 605);  // dragged backwards
    EXPECT_EQ(stretchedSize(600), 600);
    EXPECT_EQ(stretchedSize(1799), 1200);
}

TEST(EditorProjection, TopViewLooksDownWithPlusXOnTheLeft) {
    ViewProjection view(40.0, 1024, 768, 50.5, 400000.0, {0, 48000, 0}, {0, 0, 0}, {0, 0, 1});
    WindowPoint centre, left, ahead;
    ASSERT_TRUE(view.project({0, 0, 0}, centre));
    ASSERT_TRUE(view.project({1000, 0, 0}, left));
    ASSERT_TRUE(view.project({0, 0, 1000}, ahead));
    EXPECT_NEAR(centre.x, 512, 1e-6);
    EXPECT_NEAR(centre.y, 384, 1e-6);
    EXPECT_LT(left.x, centre.x);    // +x is the player's left
    EXPECT_GT(ahead.y, centre.y);   // +z is up the screen
    Point3 back;
    ASSERT_TRUE(view.unproject(left, back));
    EXPECT_NEAR(back.x, 1000, 1e-3);
    EXPECT_NEAR(back.y, 0, 1e-3);
    EXPECT_NEAR(back.z, 0, 1e-3);
}

TEST(EditorProjection, SideViewLooksAlongXWithZToTheRight) {
    ViewProjection view(40.0, 800, 600, 50.5, 400000.0, {-56000, 0, 0}, {0, 0, 0}, {0, 1, 0});
    WindowPoint centre, right, up;
    ASSERT_TRUE(view.project({0, 0, 0}, centre));
    ASSERT_TRUE(view.project({0, 0, 1000}, right));
    ASSERT_TRUE(view.project({0, 1000, 0}, up));
    EXPECT_GT(right.x, centre.x);
    EXPECT_GT(up.y, centre.y);
    Point3 back;
    ASSERT_TRUE(view.unproject(up, back));
    EXPECT_NEAR(back.y, 1000, 1e-3);
}

// ---- file names ------------------------------------------------------------

class EditorPaths : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(maps.ok());
        ASSERT_EQ(mkdir(maps.file("campaign1").c_str(), 0755), 0);
    }
    TempDir maps{"tavrelo-editor-paths"};
};

TEST_F(EditorPaths, HostileNamesAreRefusedWithOneLine) {
    struct Case {
        const char* folder;
        std::string name;
    };
    const std::vector<Case> hostile = {
        {"", ""},                    {"", "/etc/x"},         {"", "../x"},
        {"", "a/../../x"},           {"", ".."},             {"", ".hidden"},
        {"", std::string(60, 'x')},  {"", "single.stat"},    {"", "track.gho"},
        {"", "a.slv.stat"},          {"", "back\\slash"},    {"", ".slv"},
        {"", "tab\there"},           {"../..", "x"},         {"/etc", "x"},
        {"campaign1/../..", "x"},    {"nowhere", "x"},       {"campaign2", "x"},  // no such folder
        {".campaign", "x"},
    };
    for (const Case& c : hostile) {
        const LevelPath path = resolveLevelPath(maps.path(), c.folder, c.name);
        EXPECT_FALSE(path.ok) << "folder '" << c.folder << "' name '" << c.name << "' gave " << path.path;
        EXPECT_FALSE(path.error.empty());
        EXPECT_EQ(path.error.find('\n'), std::string::npos);
    }
}

TEST_F(EditorPaths, LevelNamesEndInSlvInsideTheMapsFolder) {
    EXPECT_EQ(resolveLevelPath(maps.path(), "", "track").path, maps.file("track.slv"));
    EXPECT_EQ(resolveLevelPath(maps.path(), "", "track.slv").path, maps.file("track.slv"));
    EXPECT_EQ(resolveLevelPath(maps.path(), "campaign1", "s-one").path, maps.file("campaign1/s-one.slv"));
    // The longest name the dialog takes still gets its extension.
    const std::string longest(EDITOR_NAME_LIMIT, 'q');
    EXPECT_EQ(resolveLevelPath(maps.path(), "campaign1", longest).path, maps.file("campaign1/" + longest + ".slv"));
    EXPECT_TRUE(resolveLevelPath(maps.path(), "", "my level 2").ok);
}

TEST_F(EditorPaths, SaveRefusesAnEmptyLevelAndKeepsTheOldFileOnAFailedWrite) {
    std::string error;
    Level empty;
    EXPECT_EQ(saveEditorLevel(empty, maps.path(), "", "nothing", error), -1);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(maps.names(), std::vector<std::string>{"campaign1"});

    Level level = levelFromText("block plain pos=0,0,0\n");
    ASSERT_EQ(saveEditorLevel(level, maps.path(), "campaign1", "kept", error), 0) << error;
    const std::vector<uint8_t> before = maps.readBytes("campaign1/kept.slv");
    ASSERT_FALSE(before.empty());
    // A disk that fills up halfway through the larger level.
    Level changed = levelFromText("block GOAL pos=0,0,0\nblock plain pos=0,0,600\n");
    EXPECT_EQ(saveResultWithFileSizeLimit(before.size(), [&] {
                  std::string childError;
                  const int result = saveEditorLevel(changed, maps.path(), "campaign1", "kept", childError);
                  return result == -1 && !childError.empty() ? -1 : 1;
              }),
              -1);
    EXPECT_EQ(maps.readBytes("campaign1/kept.slv"), before);
}

TEST_F(EditorPaths, LoadReadsBothFormsAndRefusesWhatItCannotRead) {
    Level level = levelFromText("medals 1 2 3\nblock SPEED pos=0,0,0\n");
    std::vector<uint8_t> oldForm = levelBytes(level, true);
    FILE* out = std::fopen(maps.file("old.slv").c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(oldForm.data(), 1, oldForm.size(), out);
    std::fclose(out);
    maps.write("broken.slv", "xy");

    Level loaded;
    std::string error;
    ASSERT_EQ(loadEditorLevel(loaded, maps.path(), "", "old", error), 0) << error;
    ASSERT_EQ(loaded.blockCount(), 1);
    EXPECT_EQ(loaded.blocks[0].type, BLOCK_SPEED);
    EXPECT_EQ(loaded.goldTime, 0);  // the old form has no medal times
    EXPECT_EQ(loadEditorLevel(loaded, maps.path(), "", "broken.slv", error), -1);
    EXPECT_EQ(loadEditorLevel(loaded, maps.path(), "", "missing", error), -1);
    EXPECT_EQ(loadEditorLevel(loaded, maps.path(), "", "../old", error), -1);
    EXPECT_EQ(loaded.blockCount(), 1);  // untouched by the failures
}

// ---- file list ---------------------------------------------------------------

TEST_F(EditorPaths, ListHasCampaignFoldersFirstThenLevelsInByteOrder) {
    ASSERT_EQ(mkdir(maps.file("acamp").c_str(), 0755), 0);
    ASSERT_EQ(mkdir(maps.file("textures").c_str(), 0755), 0);  // not a campaign
    for (const char* name : {"zeta.slv", "Alpha.slv", "alpha.slv", "alp.slv", "ca-arena.slv", "notes.txt",
                             "track.gho", "campfile"})
        maps.write(name, "x");
    maps.write("campaign1/s-b.slv", "x");
    maps.write("campaign1/s-a.slv", "x");
    maps.write("campaign1/description.txt", "x");
    maps.write(std::string(40, 'l') + ".slv", "x");  // too long to type back

    EXPECT_EQ(listLevelEntries(maps.path(), ""),
              (std::vector<std::string>{"acamp", "campaign1", "Alpha.slv", "alp.slv", "alpha.slv", "ca-arena.slv",
                                        "zeta.slv"}));
    EXPECT_EQ(listLevelEntries(maps.path(), "campaign1"), (std::vector<std::string>{"..", "s-a.slv", "s-b.slv"}));
}

TEST_F(EditorPaths, DialogWalksIntoACampaignAndBack) {
    maps.write("campaign1/s-a.slv", "x");
    maps.write("top.slv", "x");
    FileDialog dialog;
    dialog.open(maps.path(), false);
    ASSERT_EQ(dialog.entries, (std::vector<std::string>{"campaign1", "top.slv"}));
    EXPECT_EQ(dialog.selected, 0);
    EXPECT_EQ(dialog.name, "campaign1");  // the first entry is taken on refresh
    EXPECT_EQ(dialog.confirm(maps.path()), FileDialogOutcome::Stay);
    EXPECT_EQ(dialog.folder, "campaign1");
    EXPECT_EQ(dialog.entries, (std::vector<std::string>{"..", "s-a.slv"}));
    EXPECT_EQ(dialog.name, "..");
    EXPECT_EQ(dialog.confirm(maps.path()), FileDialogOutcome::Stay);
    EXPECT_EQ(dialog.folder, "");
    dialog.folder = "campaign1";  // a typed ".." goes back as well
    dialog.name.clear();
    for (char c : std::string("..")) dialog.typeCharacter(c);
    EXPECT_EQ(dialog.confirm(maps.path()), FileDialogOutcome::Stay);
    EXPECT_EQ(dialog.folder, "");
    dialog.selectNext();
    EXPECT_EQ(dialog.name, "top.slv");
    EXPECT_EQ(dialog.confirm(maps.path()), FileDialogOutcome::Chosen);
}

TEST_F(EditorPaths, ATypedNameWithoutDotIsALevelNotAFolder) {
    FileDialog dialog;
    dialog.open(maps.path(), false);
    dialog.name.clear();
    for (char c : std::string("campaign1")) dialog.typeCharacter(c);
    EXPECT_TRUE(dialog.typed);
    EXPECT_EQ(dialog.confirm(maps.path()), FileDialogOutcome::Chosen);
    EXPECT_EQ(dialog.folder, "");
}

TEST_F(EditorPaths, TypingStopsAt31CharactersAndTakesCodes32To125) {
    FileDialog dialog;
    dialog.typeCharacter(31);
    dialog.typeCharacter(126);
    EXPECT_EQ(dialog.name, "");
    for (int i = 0; i < 40; ++i) dialog.typeCharacter('a');
    EXPECT_EQ(dialog.name.size(), 31u);
    dialog.erase();
    EXPECT_EQ(dialog.name.size(), 30u);
    dialog.name = "/etc/passwd";
    EXPECT_EQ(dialog.confirm(maps.path()), FileDialogOutcome::Stay);
    EXPECT_FALSE(dialog.message.empty());
}

TEST(EditorFileDialog, AnEmptyListNeverSelectsAnEntry) {
    TempDir empty{"tavrelo-editor-empty"};
    FileDialog dialog;
    dialog.name = "kept";
    dialog.open(empty.path(), false);
    EXPECT_TRUE(dialog.entries.empty());
    EXPECT_EQ(dialog.selected, -1);
    dialog.selectPrevious();
    dialog.selectNext();
    EXPECT_EQ(dialog.selected, -1);
    EXPECT_EQ(dialog.name, "kept");
    EXPECT_FALSE(dialog.hiddenAbove());
    EXPECT_FALSE(dialog.hiddenBelow());
}

TEST(EditorFileDialog, SevenEntriesScrollOneAtATime) {
    TempDir maps{"tavrelo-editor-scroll"};
    for (char c = 'a'; c <= 'g'; ++c) maps.write(std::string(1, c) + ".slv", "x");
    FileDialog dialog;
    dialog.open(maps.path(), false);
    ASSERT_EQ(dialog.entries.size(), 7u);
    EXPECT_FALSE(dialog.hiddenAbove());
    EXPECT_TRUE(dialog.hiddenBelow());
    dialog.selectPrevious();  // from the first entry to the last, the last six shown
    EXPECT_EQ(dialog.selected, 6);
    EXPECT_EQ(dialog.firstVisible, 1);
    EXPECT_TRUE(dialog.hiddenAbove());
    EXPECT_FALSE(dialog.hiddenBelow());
    EXPECT_EQ(dialog.name, "g.slv");
    dialog.selectNext();  // wraps to the top
    EXPECT_EQ(dialog.selected, 0);
    EXPECT_EQ(dialog.firstVisible, 0);
    for (int i = 0; i < 6; ++i) dialog.selectNext();
    EXPECT_EQ(dialog.selected, 6);
    EXPECT_EQ(dialog.firstVisible, 1);
    for (int i = 0; i < 6; ++i) dialog.selectPrevious();
    EXPECT_EQ(dialog.selected, 0);
    EXPECT_EQ(dialog.firstVisible, 0);
}
