#pragma once

#include <string>
#include <vector>

// The save and load dialog: a list of level files and campaign folders,
// six rows at a time, and the name being typed.

constexpr int FILE_DIALOG_VISIBLE_ROWS = 6;

// The entries the dialog lists for `folder` ("" for the maps folder itself):
// inside a campaign folder ".." first; at the top the campaign folders
// (names with "camp" and no "."), sorted; then the level files (names
// holding ".slv"), sorted byte by byte. Names longer than the dialog can
// hold are left out, since they could not be typed back either.
std::vector<std::string> listLevelEntries(const std::string& mapsRoot, const std::string& folder);

enum class FileDialogOutcome {
    Stay,    // still open (also after changing folder or refusing a name)
    Close,   // Escape
    Chosen   // Enter on a file name: `name` in `folder` is the level
};

struct FileDialog {
    std::string name;                  // typed or selected, at most 31 characters
    std::vector<std::string> entries;
    int firstVisible = 0;
    int selected = -1;                 // -1: none
    bool typed = false;                // the name was typed since the last list selection
    std::string folder;                // below the maps folder, "" for the maps folder
    std::string message;               // one line shown under the name
    bool saving = false;               // the save dialog, else the load dialog

    // Relists the folder; keeps the selection when it is still inside the
    // list. The load dialog then selects the first entry (none in an empty
    // list) and takes its name; the save dialog leaves the name to the
    // author, since a folder's name or ".." there would begin every name
    // typed after it.
    void refresh(const std::string& mapsRoot);
    // Opening from the toolbar: a fresh list, the message cleared; the save
    // dialog starts with an empty name and nothing selected.
    void open(const std::string& mapsRoot, bool forSaving);

    const char* title() const { return saving ? "Save level" : "Load level"; }
    // What Enter will do with the name, e.g. "Writes maps/track.slv"; empty
    // when the name is empty or would be refused.
    std::string targetLine(const std::string& mapsRoot) const;
    // Where a level saved under the typed name will be listed (save only).
    std::string placementNote() const;

    void selectPrevious();  // Up: from the first entry (or none) to the last
    void selectNext();      // Down: from the last entry back to the first
    void typeCharacter(int code);
    void erase();           // Backspace
    FileDialogOutcome confirm(const std::string& mapsRoot);  // Enter

    bool hiddenAbove() const { return firstVisible > 0; }
    bool hiddenBelow() const { return firstVisible + FILE_DIALOG_VISIBLE_ROWS - 1 < int(entries.size()) - 1; }
    // Enter on this name changes folder instead of naming a level: a
    // campaign folder chosen from the list, or "..", listed or typed.
    bool namesFolder() const;

private:
    void takeSelectedName();
    void enterFolder(const std::string& newFolder, const std::string& mapsRoot);
};
