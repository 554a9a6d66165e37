#pragma once

#include <gtest/gtest.h>

#include <string>

#include "modes/multi/castle_run.h"
#include "modes/multi/race_run.h"
#include "support/sim_fixtures.h"
#include "support/temp_dir.h"
#include "replay/counted_runs.h"
#include "replay/recording.h"

// A level from the level tool's text, written as a level file in a private
// folder; the recorders of SimServices catch the sounds.
class TwoPlayerLevel : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(temp.ok()); }
    // Path of the written file.
    std::string writeLevel(const std::string& text, const std::string& name = "level.slv");

    SimServices services;
    TempDir temp{"tavrelo-two-player"};
};

class RaceLevel : public TwoPlayerLevel {
protected:
    // Loads the level and starts a race; fails the test when it does not load.
    void load(const std::string& text, int lives = 5, int gravity = 8);
    // Rounds with the given keys held: one step each (A first, a player
    // without lives none), then the contact.
    void steps(int count, HeldKeys a = {}, HeldKeys b = {});

    CountedRaceRun race;  // deaths counted by cause
};

class CastleLevel : public TwoPlayerLevel {
protected:
    void load(const std::string& text, int lives = 5, bool powerups = true, int gravity = 8);
    void steps(int count, HeldKeys a = {}, HeldKeys b = {});

    CountedCastleRun castle;  // deaths counted by cause
};
