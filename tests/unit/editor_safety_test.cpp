// The editor keeps an author's work: leaving and starting anew ask first,
// the save dialog writes the name that was typed where it says it will,
// and what is saved can be found again in the list.
#include <gtest/gtest.h>

#include <SDL/SDL_keysym.h>
#include <sys/stat.h>

#include <algorithm>

#include "editor/editor_dialogs/file_dialog.h"
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
    void openToolbarDialog(double fraction) { clickScreen(W - 10, int(fraction * H)); }
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
