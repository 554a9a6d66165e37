#include "editor/editor_dialogs/file_dialog.h"

#include <algorithm>

#include "core/game_paths.h"
#include "core/services.h"
#include "editor/editor_paths.h"

namespace {

bool contains(const std::string& text, const char* piece) { return text.find(piece) != std::string::npos; }

}  // namespace

std::vector<std::string> listLevelEntries(const std::string& mapsRoot, const std::string& folder) {
    const bool inCampaign = !folder.empty() && isCampaignFolderName(folder);
    const std::string directory = inCampaign ? mapsRoot + "/" + folder : mapsRoot;
    std::vector<std::string> folders, levels;
    // The shipped levels and the player's own, a name in both shown once.
    for (const DirectoryEntry& item : listGameFolder(directory)) {
        const std::string& entry = item.name;
        if (int(entry.size()) > EDITOR_NAME_LIMIT) continue;
        if (contains(entry, ".slv")) {
            if (item.isRegularFile) levels.push_back(entry);
        } else if (!inCampaign && !contains(entry, ".") && contains(entry, "camp")) {
            if (item.isDirectory) folders.push_back(entry);
        }
    }
    // std::string compares bytes as unsigned characters; a name that is the
    // start of another comes first.
    std::sort(folders.begin(), folders.end());
    std::sort(levels.begin(), levels.end());
    std::vector<std::string> entries;
    if (inCampaign) entries.push_back("..");
    entries.insert(entries.end(), folders.begin(), folders.end());
    entries.insert(entries.end(), levels.begin(), levels.end());
    return entries;
}

void FileDialog::refresh(const std::string& mapsRoot) {
    entries = listLevelEntries(mapsRoot, folder);
    const int count = int(entries.size());
    if (selected >= count) selected = -1;
    firstVisible = std::max(0, std::min(firstVisible, count - FILE_DIALOG_VISIBLE_ROWS));
    if (selected < 0 && count > 0 && !saving) {
        selected = 0;
        firstVisible = 0;
        takeSelectedName();
    }
}

void FileDialog::open(const std::string& mapsRoot, bool forSaving) {
    saving = forSaving;
    message.clear();
    if (saving) {
        name.clear();
        typed = false;
        selected = -1;
        firstVisible = 0;
    }
    refresh(mapsRoot);
}

bool FileDialog::namesFolder() const { return name == ".." || (!typed && !contains(name, ".")); }

std::string FileDialog::targetLine(const std::string& mapsRoot) const {
    if (name.empty()) return "";
    if (namesFolder()) return name == ".." ? "Back to maps/" : "Opens maps/" + name + "/";
    const LevelPath path = resolveLevelPath(mapsRoot, folder, name, saving ? PathUse::Save : PathUse::Load);
    if (!path.ok) return "";
    return (saving ? "Writes " : "Reads ") + shownLevelPath(folder, fileNameOf(path.path));
}

std::string FileDialog::placementNote() const {
    if (!saving || name.empty() || namesFolder()) return "";
    return levelPlacementNote(folder, name);
}

void FileDialog::takeSelectedName() {
    if (selected < 0 || selected >= int(entries.size())) return;
    name = entries[size_t(selected)];
    typed = false;
}

void FileDialog::selectPrevious() {
    playSound(ANY_CHANNEL, SOUND_SELECT);
    const int count = int(entries.size());
    if (count == 0) return;
    if (selected <= 0) {
        selected = count - 1;
        firstVisible = std::max(0, selected - (FILE_DIALOG_VISIBLE_ROWS - 1));
    } else {
        --selected;
        if (selected < firstVisible) firstVisible = selected;
    }
    takeSelectedName();
}

void FileDialog::selectNext() {
    playSound(ANY_CHANNEL, SOUND_SELECT);
    const int count = int(entries.size());
    if (count == 0) return;
    if (selected >= count - 1) {
        selected = 0;
        firstVisible = 0;
    } else {
        ++selected;
        if (selected > firstVisible + FILE_DIALOG_VISIBLE_ROWS - 1) firstVisible = selected - (FILE_DIALOG_VISIBLE_ROWS - 1);
    }
    takeSelectedName();
}

void FileDialog::typeCharacter(int code) {
    if (code < 32 || code > 125) return;
    if (int(name.size()) >= EDITOR_NAME_LIMIT) return;
    name += char(code);
    typed = true;
    message.clear();
}

void FileDialog::erase() {
    if (!name.empty()) name.pop_back();
    typed = true;
    message.clear();
}

void FileDialog::enterFolder(const std::string& newFolder, const std::string& mapsRoot) {
    folder = newFolder;
    firstVisible = 0;
    selected = -1;
    message.clear();
    if (saving) {
        name.clear();
        typed = false;
    }
    refresh(mapsRoot);
}

FileDialogOutcome FileDialog::confirm(const std::string& mapsRoot) {
    if (name.empty()) {
        message = "Please enter a name.";
        return FileDialogOutcome::Stay;
    }
    if (name == "..") {
        // Chosen from the list (a campaign folder's first entry) or typed.
        enterFolder("", mapsRoot);
        return FileDialogOutcome::Stay;
    }
    if (!contains(name, ".") && !typed) {
        // A folder chosen from the list (a typed name is a level name).
        if (!isCampaignFolderName(name)) {
            message = "Choose a level or a campaign folder.";
            return FileDialogOutcome::Stay;
        }
        enterFolder(name, mapsRoot);
        return FileDialogOutcome::Stay;
    }
    const LevelPath path = resolveLevelPath(mapsRoot, folder, name, saving ? PathUse::Save : PathUse::Load);
    if (!path.ok) {
        message = path.error;
        return FileDialogOutcome::Stay;
    }
    message.clear();
    return FileDialogOutcome::Chosen;
}
