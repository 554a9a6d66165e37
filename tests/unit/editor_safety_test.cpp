// The editor keeps an author's work: leaving and starting anew ask first,
// the save dialog writes the name that was typed where it says it will,
// and what is saved can be found again in the list.
#include <gtest/gtest.h>

#include <SDL2/SDL_keycode.h>
#include <sys/stat.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "core/game_paths.h"
#include "editor/editor_dialogs/file_dialog.h"
#include "editor/editor_dialogs/medal_dialog.h"
#include "editor/editor_paths.h"
#include "level/level_file.h"
#include "support/editor_fixture.h"
#include "support/sim_levels.h"

namespace {
constexpr int W = 1024, H = 768;

bool listed(const std::vector<std::string>& entries, const std::string& name) {
    return std::find(entries.begin(), entries.end(), name) != entries.end();
}
}  // namespace

class EditorSafety : public EditorFixture {
protected:
    void newLevelButton() { clickScreen(W - 10, int(0.1 * H)); }
    // The save dialog as an author meets it: nothing cleared by hand.
    void saveTyping(const std::string& name) {
        openToolbarDialog(0.16);
        ASSERT_EQ(editor.dialog, DIALOG_SAVE);
        type(name);
        key(SDLK_RETURN);
    }
    bool exists(const std::string& relative) {
        struct stat info;
        return stat(maps.file(relative).c_str(), &info) == 0;
    }
};

// ---- leaving and starting anew ------------------------------------------------

TEST_F(EditorSafety, EscapeAsksBeforeDiscardingAndOnlyYesLeaves) {
    placeBlockAt(0, 0);
    EXPECT_EQ(editor.keyDown(SDLK_ESCAPE, 27, false), EditorResult::Stay);
    EXPECT_EQ(editor.level.blockCount(), 1);
    EXPECT_EQ(editor.keyDown(SDLK_n, 'n', false), EditorResult::Stay);
    EXPECT_EQ(editor.level.blockCount(), 1);
    // Other keys wait for the answer; Escape on the question is "no".
    EXPECT_EQ(editor.keyDown(SDLK_ESCAPE, 27, false), EditorResult::Stay);
    EXPECT_EQ(editor.question, EditorQuestion::Leave);
    EXPECT_EQ(editor.keyDown(SDLK_DELETE, 0, false), EditorResult::Stay);
    editor.mouseDown(1, W - 10, int(0.1 * H));  // nor does the mouse act
    editor.mouseUp(1);
    EXPECT_EQ(editor.keyDown(SDLK_ESCAPE, 27, false), EditorResult::Stay);
    EXPECT_EQ(editor.question, EditorQuestion::None);
    EXPECT_EQ(editor.level.blockCount(), 1);
    EXPECT_EQ(editor.keyDown(SDLK_ESCAPE, 27, false), EditorResult::Stay);
    EXPECT_EQ(editor.keyDown(SDLK_y, 'y', false), EditorResult::Leave);
    EXPECT_EQ(editor.level.blockCount(), 0);
}

TEST_F(EditorSafety, EscapeLeavesAtOnceWhenNothingIsUnsaved) {
    EXPECT_EQ(editor.keyDown(SDLK_ESCAPE, 27, false), EditorResult::Leave);  // empty
    placeBlockAt(0, 0);
    saveTyping("kept");
    key(SDLK_RETURN);  // medal times
    ASSERT_EQ(editor.dialog, DIALOG_NONE);
    EXPECT_EQ(editor.keyDown(SDLK_ESCAPE, 27, false), EditorResult::Leave);  // just saved
}

TEST_F(EditorSafety, NewLevelAsksAndCanBeUndone) {
    placeBlockAt(0, 0);
    placeBlockAt(0, 1200);
    newLevelButton();
    EXPECT_EQ(editor.level.blockCount(), 2) << "asked first";
    key(SDLK_n, 'n');
    EXPECT_EQ(editor.level.blockCount(), 2);
    newLevelButton();
    key(SDLK_y, 'y');
    EXPECT_EQ(editor.level.blockCount(), 0);
    key(SDLK_z, 0, true);
    EXPECT_EQ(editor.level.blockCount(), 2);
    key(SDLK_y, 0, true);
    EXPECT_EQ(editor.level.blockCount(), 0);
}

// ---- the save dialog's name -----------------------------------------------------

TEST_F(EditorSafety, TheTypedNameIsTheNameSavedEvenBesideACampaignFolder) {
    ASSERT_EQ(mkdir(maps.file("gentle-camp").c_str(), 0755), 0);
    placeBlockAt(0, 0);
    saveTyping("authortest");
    key(SDLK_RETURN);
    ASSERT_EQ(editor.dialog, DIALOG_NONE) << editor.file.message;
    EXPECT_TRUE(exists("authortest.slv"));
    EXPECT_FALSE(exists("gentle-campauthortest.slv"));

    // Into the campaign folder from the list, then a name typed there.
    openToolbarDialog(0.16);
    key(SDLK_DOWN);
    ASSERT_EQ(editor.file.name, "gentle-camp");
    key(SDLK_RETURN);
    ASSERT_EQ(editor.file.folder, "gentle-camp");
    type("s-first");
    key(SDLK_RETURN);
    ASSERT_EQ(editor.dialog, DIALOG_MEDALS) << editor.file.message;
    key(SDLK_RETURN);
    EXPECT_TRUE(exists("gentle-camp/s-first.slv"));
    EXPECT_EQ(editor.notice, "Saved maps/gentle-camp/s-first.slv");
}

TEST_F(EditorSafety, BlankNamesAreRefused) {
    placeBlockAt(0, 0);
    for (const char* name : {" ", "   ", " .slv"}) {
        saveTyping(name);
        EXPECT_EQ(editor.dialog, DIALOG_SAVE) << "'" << name << "'";
        EXPECT_FALSE(editor.file.message.empty());
        key(SDLK_ESCAPE);
    }
    EXPECT_TRUE(maps.names().empty());
}

// Whatever the dialog accepts, its list shows afterwards.
TEST_F(EditorSafety, EverySavedNameIsListed) {
    placeBlockAt(0, 0);
    for (int length = 26; length <= EDITOR_NAME_LIMIT; ++length) {
        const std::string name(size_t(length), char('a' + length - 26));
        saveTyping(name);
        if (editor.dialog == DIALOG_MEDALS) key(SDLK_RETURN);
        const bool written = exists(name + ".slv");
        if (written) EXPECT_TRUE(listed(listLevelEntries(maps.path(), ""), name + ".slv")) << length;
        else EXPECT_FALSE(editor.file.message.empty()) << length;
        EXPECT_EQ(written, length + 4 <= EDITOR_NAME_LIMIT) << length;
        if (editor.dialog != DIALOG_NONE) key(SDLK_ESCAPE);
    }
}

TEST_F(EditorSafety, SavingALevelRemovesItsOldGhost) {
    maps.write("track.gho", "old run");
    maps.write("other.gho", "another level's run");
    placeBlockAt(0, 0);
    saveTyping("track");
    key(SDLK_RETURN);
    ASSERT_TRUE(exists("track.slv"));
    EXPECT_FALSE(exists("track.gho"));
    EXPECT_TRUE(exists("other.gho"));
}

// ---- what the save dialog says ----------------------------------------------------

TEST_F(EditorSafety, OverwritingAsksFirstAndASaveSaysWhereItWent) {
    placeBlockAt(0, 0);
    saveTyping("track");
    ASSERT_EQ(editor.dialog, DIALOG_MEDALS);
    type("01");
    key(SDLK_RETURN);
    EXPECT_EQ(editor.notice, "Saved maps/track.slv (no proof yet: F5 drives it).");
    EXPECT_FALSE(editor.noticeIsWarning);
    const std::vector<uint8_t> first = maps.readBytes("track.slv");

    placeBlockAt(0, 1200);
    saveTyping("track");
    EXPECT_EQ(editor.question, EditorQuestion::Overwrite);
    EXPECT_NE(editor.questionLine.find("track.slv"), std::string::npos);
    EXPECT_NE(editor.questionLine.find("y / n"), std::string::npos);
    key(SDLK_n, 'n');
    EXPECT_EQ(editor.dialog, DIALOG_SAVE) << "back to the name";
    EXPECT_EQ(maps.readBytes("track.slv"), first);
    key(SDLK_RETURN);
    key(SDLK_y, 'y');
    ASSERT_EQ(editor.dialog, DIALOG_MEDALS);
    key(SDLK_RETURN);
    EXPECT_NE(maps.readBytes("track.slv"), first);
    EXPECT_EQ(editor.notice, "Saved maps/track.slv (no proof yet: F5 drives it).");
    EXPECT_FALSE(editor.hasUnsavedChanges());
    placeBlockAt(0, 2400);  // the next edit takes the line away
    EXPECT_TRUE(editor.notice.empty());
    EXPECT_TRUE(editor.hasUnsavedChanges());
}

TEST_F(EditorSafety, TheDialogNamesItselfAndTheFileEnterWillUse) {
    ASSERT_EQ(mkdir(maps.file("gentle-camp").c_str(), 0755), 0);
    openToolbarDialog(0.16);
    EXPECT_STREQ(editor.file.title(), "Save level");
    EXPECT_EQ(editor.file.name, "");
    EXPECT_EQ(editor.file.selected, -1);
    EXPECT_EQ(editor.file.targetLine(maps.path()), "");
    type("track");
    EXPECT_EQ(editor.file.targetLine(maps.path()), "Writes maps/track.slv");
    type(std::string(23, 'x'));  // 28 characters: too long for the list
    EXPECT_EQ(editor.file.targetLine(maps.path()), "");
    key(SDLK_ESCAPE);

    openToolbarDialog(0.22);
    EXPECT_STREQ(editor.file.title(), "Load level");
    EXPECT_EQ(editor.file.name, "gentle-camp");  // loading still takes the first entry
    EXPECT_EQ(editor.file.targetLine(maps.path()), "Opens maps/gentle-camp/");
    key(SDLK_RETURN);
    EXPECT_EQ(editor.file.targetLine(maps.path()), "Back to maps/");
    key(SDLK_BACKSPACE);
    key(SDLK_BACKSPACE);
    type("s-a");
    EXPECT_EQ(editor.file.targetLine(maps.path()), "Reads maps/gentle-camp/s-a.slv");
}

TEST(EditorPlacement, SaysWhereALevelWillAndWillNotBeListed) {
    struct Case {
        const char* folder;
        const char* name;
        const char* mentions;  // nullptr: nothing to say
    };
    const Case cases[] = {
        {"", "ca-fort", "time attack does not"},  {"", "s-first", "Time attack skips"},
        {"", "ra-loop", "Race and time attack"},  {"", "track", nullptr},
        {"", "scan", nullptr},                    {"", "cab", nullptr},
        {"gentle-camp", "s-first", nullptr},      {"gentle-camp", "first", "only its levels named s-"},
        {"gentle-camp", "ca-fort", "only its levels named s-"},
    };
    for (const Case& c : cases) {
        const std::string note = levelPlacementNote(c.folder, c.name);
        const std::string where = std::string(c.folder) + "/" + c.name;
        if (c.mentions) EXPECT_NE(note.find(c.mentions), std::string::npos) << where << ": " << note;
        else EXPECT_EQ(note, "") << where;
    }
}

TEST_F(EditorSafety, TheSaveDialogShowsThePlacementNoteOfTheTypedName) {
    openToolbarDialog(0.16);
    type("ca-fort");
    EXPECT_EQ(editor.file.placementNote(), levelPlacementNote("", "ca-fort"));
    key(SDLK_ESCAPE);
    openToolbarDialog(0.22);
    editor.file.name = "ca-fort";  // the load dialog has nothing to say
    EXPECT_EQ(editor.file.placementNote(), "");
}

TEST_F(EditorSafety, UnwinnableMedalTimesGetAWarningLine) {
    Level level;
    EXPECT_NE(medalTimeWarning(level).find("00: 00: 00"), std::string::npos);
    level.goldTime = 10000;
    level.silverTime = 20000;
    EXPECT_NE(medalTimeWarning(level), "");
    level.bronzeTime = 30000;
    EXPECT_EQ(medalTimeWarning(level), "");

    placeBlockAt(0, 0);
    saveTyping("timed");
    ASSERT_EQ(editor.dialog, DIALOG_MEDALS);
    EXPECT_NE(medalTimeWarning(editor.level), "");
    type("0030");
    key(SDLK_DOWN);
    type("0020");
    key(SDLK_DOWN);
    type("0010");
    EXPECT_EQ(medalTimeWarning(editor.level), "");
}

// ---- held Backspace --------------------------------------------------------------

TEST_F(EditorSafety, HeldBackspaceRepeatsInTextUntilReleased) {
    openToolbarDialog(0.16);
    type("abcdefghij");
    key(SDLK_BACKSPACE, '\b');
    EXPECT_EQ(editor.file.name, "abcdefghi");
    editor.update(400);
    EXPECT_EQ(editor.file.name, "abcdefghi") << "a short press erases one";
    editor.update(60);  // the first repeat, then one every 45 ms
    EXPECT_EQ(editor.file.name, "abcdefgh");
    editor.update(90);
    EXPECT_EQ(editor.file.name, "abcdef");
    editor.keyUp(SDLK_BACKSPACE);
    editor.update(1000);
    EXPECT_EQ(editor.file.name, "abcdef");

    key(SDLK_BACKSPACE, '\b');
    editor.update(5000);  // a long stall empties the field and nothing more
    EXPECT_EQ(editor.file.name, "");
    key(SDLK_ESCAPE);  // still held as the dialog closes: the editing view is untouched
    placeBlockAt(0, 0);
    editor.update(1000);
    EXPECT_EQ(editor.level.blockCount(), 1);
}

TEST_F(EditorSafety, HeldBackspaceRepeatsInTheTriggerDialogsDigits) {
    placeBlockAt(0, 0);
    placeBlockAt(0, 1200);
    for (int i = 2; i < 12; ++i) editor.level.blocks.editAll().push_back(newEditorBlock(0, 0, 600 * i + 1800));
    editor.selected = 0;
    key(SDLK_e);
    key(SDLK_RIGHT);
    key(SDLK_RIGHT);
    key(SDLK_UP);
    type("11");
    ASSERT_EQ(editor.trigger.targetIndex, 11);
    key(SDLK_BACKSPACE, '\b');
    EXPECT_EQ(editor.trigger.targetIndex, 1);
    editor.update(500);
    EXPECT_EQ(editor.trigger.targetIndex, 0);
}

// ---- what the cursor is over ----------------------------------------------------

TEST_F(EditorSafety, TheBlockUnderTheCursorIsTheOneAClickPicks) {
    EXPECT_EQ(editor.hoveredBlock(), -1) << "no cursor yet";
    placeBlockAt(0, 0);        // x -600..0, z 0..600
    placeBlockAt(-1200, 1200);  // x -1800..-1200, z 1200..1800
    int x = 0, y = 0;
    screenOf(-1500, 0, 1500, x, y);
    editor.mouseMotion(x, y);
    EXPECT_EQ(editor.hoveredBlock(), 1);
    screenOf(-300, 0, 300, x, y);
    editor.mouseMotion(x, y);
    EXPECT_EQ(editor.hoveredBlock(), 0);
    screenOf(3000, 0, 3000, x, y);
    editor.mouseMotion(x, y);
    EXPECT_EQ(editor.hoveredBlock(), -1);

    screenOf(-300, 0, 300, x, y);
    editor.mouseMotion(x, y);
    openToolbarDialog(0.16);  // a dialog covers the level
    editor.mouseMotion(x, y);
    EXPECT_EQ(editor.hoveredBlock(), -1);
}

TEST_F(EditorSafety, TheStatusLineShowsToolCursorAndBlockCount) {
    EXPECT_EQ(editor.statusText(), "Tool: plain block   Blocks: 0");
    editor.tool = BLOCK_SPEED;
    placeBlockAt(0, 0);
    int x = 0, y = 0;
    screenOf(1200, 0, -3600, x, y);
    editor.mouseMotion(x, y);
    int across = 0, along = 0;
    ASSERT_TRUE(editor.cursorLevelPoint(across, along));
    EXPECT_NEAR(across, 1200, 60);  // a pixel is about 45 units from the start height
    EXPECT_NEAR(along, -3600, 60);
    const std::string status = editor.statusText();
    EXPECT_EQ(status.rfind("Tool: SPEED block   x " + std::to_string(across) + "  z " + std::to_string(along), 0), 0u)
        << status;
    EXPECT_NE(status.find("Blocks: 1"), std::string::npos);

    clickScreen(W - 10, int(0.03 * H));  // side view: height and z
    screenOf(0, 1000, 2000, x, y);
    editor.mouseMotion(x, y);
    ASSERT_TRUE(editor.cursorLevelPoint(across, along));
    EXPECT_NEAR(across, 1000, 60);
    EXPECT_NEAR(along, 2000, 60);
    EXPECT_NE(editor.statusText().find("   y "), std::string::npos);
}

TEST_F(EditorSafety, AHoveredIconIsNamedAfterWhatItsClickDoes) {
    struct Button {
        double y;
        const char* name;
    };
    for (const Button& b : {Button{0.03, "Side view"}, Button{0.1, "New level"}, Button{0.16, "Save level"},
                            Button{0.22, "Load level"}}) {
        editor.mouseMotion(W - 10, int(b.y * H));
        EXPECT_EQ(editor.hoveredIconName(), b.name);
    }
    editor.mouseMotion(W / 2, H / 2);
    EXPECT_EQ(editor.hoveredIconName(), "");
    // Every row of both tool columns names the tool its click picks.
    for (int y = int(0.25 * H); y < H; y += 7) {
        editor.mouseMotion(W - 10, y);
        const std::string name = editor.hoveredIconName();
        clickScreen(W - 10, y);
        EXPECT_EQ(name, toolName(editor.tool)) << y;
    }
    placeBlockAt(0, 0);  // something to test-drive
    for (int y = 0; y < int(0.4 * H); y += 5) {
        editor.tool = 0;
        editor.mouseMotion(10, y);
        const std::string name = editor.hoveredIconName();
        clickScreen(10, y);
        if (editor.driving()) {
            EXPECT_EQ(name, "Test-drive (F5)") << y;
            key(SDLK_ESCAPE);
        } else if (editor.tool == 0) {
            EXPECT_EQ(name, "") << y;
        } else {
            EXPECT_EQ(name, toolName(editor.tool)) << y;
        }
    }
    editor.mouseMotion(10, int(0.3 * H));
    EXPECT_EQ(editor.hoveredIconName(), "Powerup");
    clickScreen(W - 10, int(0.03 * H));
    editor.mouseMotion(W - 10, int(0.03 * H));
    EXPECT_EQ(editor.hoveredIconName(), "Top view");
    editor.mouseMotion(W - 10, int(0.5 * H));
    EXPECT_EQ(editor.hoveredIconName(), "") << "side view has no tools";
    editor.mouseMotion(10, int(0.355 * H));
    EXPECT_EQ(editor.hoveredIconName(), "Test-drive (F5)") << "but drives";
}

// ---- an installed game: shipped levels read-only, the author's in his folder ----

TEST_F(EditorSafety, AnInstalledGameSavesInThePlayersFolderAndListsBoth) {
    // The data root holds maps/shipped.slv; the player's root is elsewhere.
    ASSERT_EQ(::mkdir(maps.file("data").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir(maps.file("data/maps").c_str(), 0755), 0);
    Level shipped = levelFromText("block plain pos=300,0,0 size=600,500,4000\n");
    ASSERT_EQ(writeLevelFile(maps.file("data/maps/shipped.slv"), shipped), 0);
    char* here = ::getcwd(nullptr, 0);
    ASSERT_NE(here, nullptr);
    const std::string startFolder = here;
    std::free(here);
    ASSERT_EQ(::chdir(maps.file("data").c_str()), 0);
    setGameRoots(GameRoots{maps.file("data"), maps.file("user")});
    std::string why;
    ASSERT_TRUE(prepareUserRoot(why)) << why;
    editor.mapsRoot = "maps";

    placeBlockAt(0, 0);
    saveTyping("mine");
    key(SDLK_RETURN);  // medal times
    EXPECT_TRUE(exists("user/maps/mine.slv"));
    EXPECT_FALSE(exists("data/maps/mine.slv")) << "the data root is never written";
    const std::vector<std::string> entries = listLevelEntries("maps", "");
    EXPECT_TRUE(listed(entries, "mine.slv"));
    EXPECT_TRUE(listed(entries, "shipped.slv"));
    // A shipped level loads, and saved again under its name becomes the
    // player's own copy beside the untouched original.
    std::string error;
    Level loaded;
    EXPECT_EQ(loadEditorLevel(loaded, "maps", "", "shipped.slv", error), 0) << error;
    EXPECT_EQ(saveEditorLevel(loaded, "maps", "", "shipped.slv", error), 0) << error;
    EXPECT_TRUE(exists("user/maps/shipped.slv"));
    EXPECT_EQ(std::count(entries.begin(), entries.end(), "shipped.slv"), 1);

    // Saving over the player's own level asks first; loading a level and
    // leaving at once asks nothing.
    placeBlockAt(0, 1200);
    saveTyping("mine");
    EXPECT_EQ(editor.question, EditorQuestion::Overwrite);
    key(SDLK_n, 'n');
    key(SDLK_ESCAPE);
    openToolbarDialog(0.22);
    editor.file.name.clear();
    type("shipped");
    key(SDLK_RETURN);
    ASSERT_EQ(editor.level.blockCount(), 1);
    EXPECT_EQ(editor.keyDown(SDLK_ESCAPE, 27, false), EditorResult::Leave);

    setGameRoots(GameRoots{".", "."});
    EXPECT_EQ(::chdir(startFolder.c_str()), 0);
}

// The editor holds up to 8,192 blocks; castle attack mirrors at most 4,096.
TEST_F(EditorSafety, ACastleLevelTooBigToMirrorIsNotSaved) {
    Level big;
    for (int i = 0; i <= MAX_CASTLE_STORED_BLOCKS; ++i) {
        Block block;
        block.body.x = 300;
        block.body.z = i * 600;
        block.body.width = block.body.length = 600;
        block.body.height = 500;
        big.blocks.push_back(block);
    }
    std::string error;
    EXPECT_EQ(saveEditorLevel(big, maps.path(), "", "ca-huge", error), -1);
    EXPECT_EQ(error, "A castle level holds at most 4096 blocks.");
    EXPECT_FALSE(exists("ca-huge.slv"));
    EXPECT_EQ(saveEditorLevel(big, maps.path(), "", "huge", error), 0) << "time attack takes it";
    big.blocks.resize(size_t(MAX_CASTLE_STORED_BLOCKS));
    EXPECT_EQ(saveEditorLevel(big, maps.path(), "", "ca-huge", error), 0) << error;
}
