#pragma once

#include <string>
#include <vector>

#include "modes/multi/multiplayer_settings_file.h"

// The choices of the two-player entry screen without a window: the three
// pages, the two map lists, the scrolling and the option rows.
enum ModePage : int { PAGE_CASTLE_ATTACK = 0, PAGE_RACE = 1, PAGE_OPTIONS = 2, MODE_PAGE_COUNT = 3 };

enum OptionRow : int {
    OPTION_CASTLE_LIVES = 0,
    OPTION_POWERUPS = 1,
    OPTION_CASTLE_GRAVITY = 2,
    OPTION_RACE_LIVES = 3,
    OPTION_RACE_GRAVITY = 4,
    OPTION_ROW_COUNT = 5
};

constexpr int MODE_MAP_ROWS = 6;      // map names shown at once
constexpr int MODE_NAME_LENGTH = 32;  // names are kept to 32 characters

// The level files of `folder` whose names begin with `prefix` ("ca-",
// "ra-") and end in ".slv", cut to 32 characters and sorted byte by byte as
// signed characters, a prefix before the longer name.
std::vector<std::string> listModeMaps(const std::string& folder, const std::string& prefix);
bool nameBefore(const std::string& a, const std::string& b);

// "maps/" + the name with its first ".slv" turned into ".png".
std::string previewPath(const std::string& folder, const std::string& mapName);

class ModeMenu {
public:
    // Left and right: the pages turn round; the selection goes to the top.
    void previousPage();
    void nextPage();
    // Down and up: the option row cycles; a map row moves within its list
    // and the list scrolls to keep it near the third row.
    void down();
    void up();
    // Space on the options page.
    void changeOption();

    const std::vector<std::string>& pageMaps() const { return page == PAGE_RACE ? raceMaps : castleMaps; }
    // The map chosen on a map page, "" when the page has none.
    std::string selectedMap() const;
    // Index into the preview table (castle maps first, then race maps); -1
    // when the page shows no map.
    int previewIndex() const;
    bool hiddenAbove() const { return firstVisibleRow >= 1; }
    bool hiddenBelow() const { return firstVisibleRow + MODE_MAP_ROWS - 1 < int(pageMaps().size()) - 1; }

    int page = PAGE_CASTLE_ATTACK;
    int selectedRow = 0;
    int firstVisibleRow = 0;
    std::vector<std::string> castleMaps, raceMaps;
    MultiplayerSettings settings;
};
