#include "modes/multi/mode_menu.h"

#include <algorithm>

#include "core/game_paths.h"

bool nameBefore(const std::string& a, const std::string& b) {
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        const signed char x = static_cast<signed char>(a[i]), y = static_cast<signed char>(b[i]);
        if (x != y) return x < y;
    }
    return a.size() < b.size();
}

std::vector<std::string> listModeMaps(const std::string& folder, const std::string& prefix) {
    std::vector<std::string> names;
    for (const DirectoryEntry& entry : listGameFolder(folder)) {
        const std::string& name = entry.name;
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        if (name.size() < 4 || name.compare(name.size() - 4, 4, ".slv") != 0) continue;
        if (!entry.isRegularFile) continue;
        names.push_back(name.substr(0, MODE_NAME_LENGTH));
    }
    std::sort(names.begin(), names.end(), nameBefore);
    return names;
}

std::string previewPath(const std::string& folder, const std::string& mapName) {
    std::string picture = mapName;
    const size_t extension = picture.find(".slv");
    if (extension != std::string::npos) picture.replace(extension, 4, ".png");
    return folder + "/" + picture;
}

void ModeMenu::previousPage() {
    page = (page + MODE_PAGE_COUNT - 1) % MODE_PAGE_COUNT;
    selectedRow = firstVisibleRow = 0;
}

void ModeMenu::nextPage() {
    page = (page + 1) % MODE_PAGE_COUNT;
    selectedRow = firstVisibleRow = 0;
}

void ModeMenu::down() {
    if (page == PAGE_OPTIONS) {
        selectedRow = (selectedRow + 1) % OPTION_ROW_COUNT;
        return;
    }
    if (selectedRow < int(pageMaps().size()) - 1) {
        selectedRow += 1;
        if (selectedRow > firstVisibleRow + 2) firstVisibleRow += 1;
    }
}

void ModeMenu::up() {
    if (page == PAGE_OPTIONS) {
        selectedRow = (selectedRow + OPTION_ROW_COUNT - 1) % OPTION_ROW_COUNT;
        return;
    }
    if (selectedRow > 0) {
        selectedRow -= 1;
        if (selectedRow < firstVisibleRow + 2 && firstVisibleRow >= 1) firstVisibleRow -= 1;
    }
}

void ModeMenu::changeOption() {
    if (page != PAGE_OPTIONS) return;
    switch (selectedRow) {
        case OPTION_CASTLE_LIVES: settings.castleLives = nextCastleLives(settings.castleLives); break;
        case OPTION_POWERUPS: settings.powerups = !settings.powerups; break;
        case OPTION_CASTLE_GRAVITY: settings.castleGravity = nextGravity(settings.castleGravity); break;
        case OPTION_RACE_LIVES: settings.raceLives = nextRaceLives(settings.raceLives); break;
        case OPTION_RACE_GRAVITY: settings.raceGravity = nextGravity(settings.raceGravity); break;
        default: break;
    }
}

std::string ModeMenu::selectedMap() const {
    if (page == PAGE_OPTIONS) return "";
    const std::vector<std::string>& maps = pageMaps();
    if (selectedRow < 0 || selectedRow >= int(maps.size())) return "";
    return maps[size_t(selectedRow)];
}

int ModeMenu::previewIndex() const {
    if (selectedMap().empty()) return -1;
    return page == PAGE_RACE ? int(castleMaps.size()) + selectedRow : selectedRow;
}
