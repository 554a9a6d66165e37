#include "app/state_table.h"

#include "editor/level_ed.h"
#include "frontend/console.h"
#include "frontend/menu.h"
#include "frontend/options.h"
#include "modes/multi/castle_m.h"
#include "modes/multi/castle_m_end.h"
#include "modes/multi/mode_sel_m.h"
#include "modes/multi/race_end.h"
#include "modes/multi/race_m.h"
#include "modes/single/single.h"
#include "modes/single/single_pl_c_sel.h"
#include "modes/single/single_pl_sel.h"
#include "modes/timeattack/level_end.h"
#include "modes/timeattack/map_sel.h"
#include "modes/timeattack/time_attack.h"

void createStates() {
    // Creation order is fixed; constructors touch no video, files or sound.
    stateTable[STATE_MENU] = new Menu();
    stateTable[STATE_MAPSEL] = new MapSel();
    stateTable[STATE_TIMEATTACK] = new TimeAttack();
    stateTable[STATE_SINGLE] = new Single();
    stateTable[STATE_SINGLEPLSEL] = new SinglePlSel();
    stateTable[STATE_CONSOLE] = new Console();
    stateTable[STATE_RACEM] = new RaceM();
    stateTable[STATE_RACEEND] = new RaceEnd();
    stateTable[STATE_LEVELED] = new LevelEd();
    stateTable[STATE_LEVELEND] = new LevelEnd();
    stateTable[STATE_MODESELM] = new ModeSelM();
    stateTable[STATE_CASTLEM] = new CastleM();
    stateTable[STATE_CASTLEMEND] = new CastleMEnd();
    stateTable[STATE_OPTIONS] = new Options();
    stateTable[STATE_SINGLEPLCSEL] = new SinglePlCSel();
}

bool keepsScreenProportions(const Gamestate* state) {
    if (state != nullptr && state == stateTable[STATE_CONSOLE] && returnState != state)
        return keepsScreenProportions(returnState);
    constexpr int PAGES[] = {STATE_MENU, STATE_OPTIONS, STATE_MAPSEL, STATE_LEVELEND, STATE_MODESELM,
                             STATE_CASTLEMEND, STATE_RACEEND, STATE_SINGLEPLSEL, STATE_SINGLEPLCSEL};
    for (int id : PAGES)
        if (state != nullptr && state == stateTable[id]) return true;
    return false;
}

void destroyStates() {
    for (int id = 0; id < STATE_COUNT; ++id) {
        delete stateTable[id];
        stateTable[id] = nullptr;
    }
    currentState = nullptr;
    returnState = nullptr;
}
