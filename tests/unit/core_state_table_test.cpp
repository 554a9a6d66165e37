#include <gtest/gtest.h>

#include <typeinfo>

#include "app/state_table.h"
#include "core/gamestate.h"
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

namespace {

// Every screen switches by plain state id, so each id must hold its class.
class StateTable : public ::testing::Test {
protected:
    void SetUp() override {
        for (int id = 0; id < STATE_COUNT; ++id) saved[id] = stateTable[id];
        savedCurrent = currentState;
        savedReturn = returnState;
        for (Gamestate*& slot : stateTable) slot = nullptr;
    }
    void TearDown() override {
        destroyStates();
        for (int id = 0; id < STATE_COUNT; ++id) stateTable[id] = saved[id];
        currentState = savedCurrent;
        returnState = savedReturn;
    }
    Gamestate* saved[STATE_COUNT];
    Gamestate* savedCurrent = nullptr;
    Gamestate* savedReturn = nullptr;
};

TEST_F(StateTable, EveryIdHoldsItsOwnState) {
    createStates();
    const std::type_info* expected[STATE_COUNT] = {
        &typeid(Menu),     &typeid(Options),    &typeid(MapSel),     &typeid(LevelEd),
        &typeid(LevelEnd), &typeid(TimeAttack), &typeid(Console),    &typeid(ModeSelM),
        &typeid(CastleM),  &typeid(CastleMEnd), &typeid(RaceM),      &typeid(RaceEnd),
        &typeid(SinglePlSel), &typeid(Single),  &typeid(SinglePlCSel),
    };
    for (int id = 0; id < STATE_COUNT; ++id) {
        ASSERT_NE(stateTable[id], nullptr) << "id " << id;
        EXPECT_EQ(typeid(*stateTable[id]), *expected[id]) << "id " << id;
    }
}

TEST_F(StateTable, ShutdownEmptiesTheTable) {
    createStates();
    currentState = stateTable[STATE_MENU];
    returnState = stateTable[STATE_TIMEATTACK];
    destroyStates();
    for (int id = 0; id < STATE_COUNT; ++id) EXPECT_EQ(stateTable[id], nullptr) << "id " << id;
    EXPECT_EQ(currentState, nullptr);
    EXPECT_EQ(returnState, nullptr);
}

}  // namespace
