#pragma once

// The fifteen game states. The ids are stored nowhere on disk but are used as
// plain integers throughout the program, so the numbering is fixed.
enum StateId : int {
    STATE_MENU = 0,
    STATE_OPTIONS = 1,
    STATE_MAPSEL = 2,
    STATE_LEVELED = 3,
    STATE_LEVELEND = 4,
    STATE_TIMEATTACK = 5,
    STATE_CONSOLE = 6,
    STATE_MODESELM = 7,
    STATE_CASTLEM = 8,
    STATE_CASTLEMEND = 9,
    STATE_RACEM = 10,
    STATE_RACEEND = 11,
    STATE_SINGLEPLSEL = 12,
    STATE_SINGLE = 13,
    STATE_SINGLEPLCSEL = 14,
    STATE_COUNT = 15
};
