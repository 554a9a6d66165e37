#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/gamestate.h"
#include "core/globals.h"
#include "core/state_ids.h"
#include "modes/multi/castle_m.h"
#include "modes/multi/castle_run.h"
#include "modes/multi/mode_sel_m.h"
#include "modes/multi/split_hud.h"
#include "support/shipped_levels.h"
#include "support/sim_levels.h"
#include "support/two_player_fixtures.h"

namespace {

// The stored half: the start, A's castle gate in front of it, the way to
// the middle (far end 10000). The arena mirrors it about z 10000: B's gate
// lies at 16000..17000 and B starts on the block ending at 20000.
const char* const ARENA =
    "block plain pos=800,0,0 size=1600,500,3000\n"
    "block GOAL pos=800,0,3000 size=1600,500,1000\n"
    "block plain pos=800,0,4000 size=1600,500,6000\n";

HeldKeys forward() {
    HeldKeys keys;
    keys.forward = true;
    return keys;
}

TEST_F(CastleLevel, TheArenaIsTheStoredHalfAndItsMirror) {
    load(ARENA);
    const Level& level = castle.level;
    ASSERT_EQ(level.blockCount(), 6);
    EXPECT_EQ(castle.castleGoalA, 1);
    EXPECT_EQ(castle.castleGoalB, 4);
    EXPECT_EQ(level.blocks[4].body.z, 16000);
    EXPECT_EQ(castle.farStartBlock, 5);
    const Craft& a = castle.players[0].craft;
    const Craft& b = castle.players[1].craft;
    EXPECT_EQ(a.z, 500);
    EXPECT_EQ(a.kind, 1);
    EXPECT_EQ(b.z, 20000 - 500) << "B starts 500 before the far end";
    EXPECT_EQ(b.kind, -1);
    EXPECT_EQ(b.camZ, b.z + 5000) << "B's eye sits behind it, toward +z";
    EXPECT_EQ(b.camTargetOffset[2], -1000);
    EXPECT_EQ(castle.players[0].castleHealth, 5);
}

TEST_F(CastleLevel, CraftBDrivesTowardMinusZ) {
    load(ARENA);
    steps(40, {}, forward());
    EXPECT_LT(castle.players[1].craft.z, 19500 - 2000);
    EXPECT_EQ(castle.players[0].craft.z, 500);
}

TEST_F(CastleLevel, AnAttackTakesAPointOffTheOtherCastleUntilItFalls) {
    load(ARENA, 2);
    int steps = 0;
    while (castle.players[1].castleHealth == 2 && steps++ < 600) this->steps(1, forward(), {});
    EXPECT_EQ(castle.players[1].castleHealth, 1);
    EXPECT_EQ(castle.players[0].castleHealth, 2) << "driving over the home castle does nothing";
    EXPECT_EQ(castle.players[0].craft.z, 500) << "the attacker starts again at home";
    EXPECT_TRUE(services.mixer.played(1, SOUND_HURT));
    EXPECT_FALSE(castle.over());
    steps = 0;
    while (!castle.over() && steps++ < 600) this->steps(1, forward(), {});
    EXPECT_EQ(castle.winner(), PLAYER_A);
}

TEST_F(CastleLevel, CraftBScoresOnTheNearCastle) {
    load(ARENA, 1);
    int steps = 0;
    while (!castle.over() && steps++ < 600) this->steps(1, {}, forward());
    EXPECT_EQ(castle.players[0].castleHealth, 0);
    EXPECT_EQ(castle.winner(), PLAYER_B);
}

TEST(CastleScoring, TheAttackReachesOneThousandIntoTheCastle) {
    BlockBody farGoal;
    farGoal.z = 16000;
    farGoal.length = 1000;
    BlockBody block;
    block.z = 15000;
    EXPECT_TRUE(attackScores(1, block, farGoal)) << "z + 1000 equal to the goal's z";
    block.z = 14999;
    EXPECT_FALSE(attackScores(1, block, farGoal));
    BlockBody nearGoal;
    nearGoal.z = 3000;
    nearGoal.length = 1000;
    block.z = 4999;
    EXPECT_TRUE(attackScores(-1, block, nearGoal)) << "z - 1000 below the goal's far end";
    block.z = 5000;
    EXPECT_FALSE(attackScores(-1, block, nearGoal)) << "exactly at the far end is outside";
}

TEST_F(CastleLevel, ALevelWithoutGoalBlocksIsRefused) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(castle.loadLevel(writeLevel("block plain pos=800,0,0 size=1600,500,3000\n")), -1);
    EXPECT_EQ(castle.loadLevel(temp.file("absent.slv")), -1);
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find("Level not found."), std::string::npos);
    EXPECT_FALSE(castle.hasLevel());
    castle.start(5, true, 8);
    steps(5, forward(), forward());
    EXPECT_FALSE(castle.over());
}

// 4,097 stored blocks with two goal blocks.
std::string tooBigToMirror() {
    std::string text;
    for (int i = 0; i <= 4096; ++i)
        text += std::string("block ") + (i == 2 || i == 4000 ? "GOAL" : "plain") + " pos=800,0," +
                std::to_string(i * 1000) + " size=1600,500,1000\n";
    return text;
}

// The editor can save more blocks than an arena mirrors (its copies' 13-bit
// targets would wrap): such a level is refused with one line and never
// played, not driven by a B with no start block under it.
TEST_F(CastleLevel, ALevelOfMoreThan4096StoredBlocksIsRefusedOnce) {
    const std::string path = writeLevel(tooBigToMirror(), "ca-big.slv");
    testing::internal::CaptureStderr();
    EXPECT_EQ(castle.loadLevel(path), -1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Castle level has 4097 blocks; a castle level holds at most 4096.\n");
    EXPECT_FALSE(castle.hasLevel());
    // Started anyway (as the duel screen would), nothing reads a block.
    castle.start(5, true, 8);
    steps(5, forward(), forward());
    castle.respawn(PLAYER_B);
    EXPECT_FALSE(castle.over());
}

// Enter on such a level in the mode selection: one line, the selection
// stays, the duel never starts and the settings are not written.
TEST_F(CastleLevel, TheModeSelectionStaysOnALevelTooBigToMirror) {
    ASSERT_EQ(mkdir(temp.file("maps").c_str(), 0755), 0);
    writeLevel(tooBigToMirror(), "maps/ca-big.slv");
    char saved[4096] = {};
    ASSERT_NE(getcwd(saved, sizeof saved), nullptr);
    ASSERT_EQ(chdir(temp.path().c_str()), 0);
    ModeSelM selection;
    selection.menu.castleMaps = {"ca-big.slv"};
    CastleM duel;
    Gamestate* savedDuel = stateTable[STATE_CASTLEM];
    Gamestate* savedCurrent = currentState;
    stateTable[STATE_CASTLEM] = &duel;
    currentState = &selection;

    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    SDL_Keysym key{};
    key.sym = SDLK_RETURN;
    testing::internal::CaptureStderr();
    selection.handleEvent(event, key);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Castle level has 4097 blocks; a castle level holds at most 4096.\n");
    EXPECT_EQ(currentState, &selection);
    EXPECT_FALSE(duel.run.hasLevel());
    EXPECT_NE(access("multiplayer.ini", F_OK), 0) << "the settings are written only when a duel starts";

    stateTable[STATE_CASTLEM] = savedDuel;
    currentState = savedCurrent;
    EXPECT_EQ(chdir(saved), 0);
}

// A power-up block just ahead of A's start (its item at x 1, z 1500; an
// item x of 0 means "no item").
const char* const POWERUP_ARENA =
    "block plain pos=800,0,0 size=1600,500,3000 point=1,1500,0 flags=POWERUP\n"
    "block GOAL pos=800,0,3000 size=1600,500,1000\n"
    "block plain pos=800,0,4000 size=1600,500,6000\n"
    "block HURT pos=800,0,10000 size=1600,500,2000\n";

TEST_F(CastleLevel, PowerupsArePickedUpOnlyWhileSwitchedOn) {
    load(POWERUP_ARENA, 5, true);
    steps(20, forward(), {});
    EXPECT_GE(castle.players[0].craft.powerup, 1);
    EXPECT_LE(castle.players[0].craft.powerup, 6);
    EXPECT_TRUE(services.mixer.played(1, SOUND_POWERUP));

    load(POWERUP_ARENA, 5, false);
    steps(20, forward(), {});
    EXPECT_EQ(castle.players[0].craft.powerup, 0) << "-1 only during the scan";
    EXPECT_FALSE(services.mixer.played(1, SOUND_POWERUP));
    castle.usePowerup(PLAYER_A);
    EXPECT_EQ(castle.players[0].powerupsUsed, 0);
}

class CastlePowerups : public CastleLevel {
protected:
    void SetUp() override {
        CastleLevel::SetUp();
        load(POWERUP_ARENA);
        steps(1);  // on the ground
    }
    CastlePlayer& a() { return castle.players[0]; }
    CastlePlayer& b() { return castle.players[1]; }
};

TEST_F(CastlePowerups, TheUseKeyFollowsThePowerupTable) {
    a().craft.powerup = POWERUP_SHIELD;
    castle.usePowerup(PLAYER_A);
    EXPECT_EQ(a().armed, POWERUP_SHIELD);
    EXPECT_EQ(a().shieldTime, 1200);
    EXPECT_EQ(a().craft.powerup, 0);
    EXPECT_EQ(a().powerupsUsed, 1);
    EXPECT_TRUE(services.mixer.played(1, SOUND_PUSH));

    services.mixer.clear();
    b().craft.powerup = POWERUP_SHIELD;
    castle.usePowerup(PLAYER_B);
    EXPECT_EQ(b().shieldTime, 1200);
    EXPECT_FALSE(services.mixer.played(1, SOUND_PUSH)) << "only A hears the shield";

    b().craft.powerup = POWERUP_PUSH;
    castle.usePowerup(PLAYER_B);
    EXPECT_EQ(b().pushTime, 5);
    EXPECT_EQ(b().armed, POWERUP_PUSH);
    EXPECT_TRUE(services.mixer.played(1, SOUND_PUSH));

    b().craft.powerup = POWERUP_AIR_JUMP;
    castle.usePowerup(PLAYER_B);
    EXPECT_EQ(b().craft.powerup, POWERUP_AIR_JUMP) << "the air jump acts by itself";
    EXPECT_EQ(b().powerupsUsed, 2);

    for (int held : {POWERUP_ICE, POWERUP_WALL, POWERUP_HURT}) {
        a().craft.powerup = held;
        a().craft.groundType = -1;
        castle.usePowerup(PLAYER_A);
        EXPECT_EQ(a().craft.powerup, held) << "not in the air";
        a().craft.groundType = 0;
        castle.usePowerup(PLAYER_A);
        EXPECT_EQ(a().armed, held);
        EXPECT_EQ(a().craft.powerup, 0);
    }
    EXPECT_EQ(a().powerupsUsed, 1) << "armed, not yet used";
    a().craft.powerup = 0;
    castle.usePowerup(PLAYER_A);
    EXPECT_EQ(a().powerupsUsed, 1);
}

// Five presses with one ice power-up: refused four times on the start
// block (back to the hand), placed once on the way.
TEST_F(CastlePowerups, OnlyAPlacedPowerupCountsAsUsed) {
    CastlePlayer& side = a();
    side.craft.powerup = POWERUP_ICE;
    for (int press = 0; press < 4; ++press) {
        castle.usePowerup(PLAYER_A);
        steps(1);
        ASSERT_EQ(side.craft.powerup, POWERUP_ICE) << "refused on the first block";
    }
    EXPECT_EQ(side.powerupsUsed, 0);
    while (side.craft.z < 5000) steps(1, forward(), {});
    castle.usePowerup(PLAYER_A);
    steps(1);
    EXPECT_EQ(effectiveType(castle.level.blocks[2]), BLOCK_ICE);
    EXPECT_EQ(side.powerupsUsed, 1);
    castle.usePowerup(PLAYER_A);
    EXPECT_EQ(side.powerupsUsed, 1) << "nothing left in the hand";
}

TEST_F(CastlePowerups, AWallOnAProtectedBlockGoesBackToTheHand) {
    a().armed = POWERUP_WALL;
    steps(1);  // standing on block 0, the first block
    EXPECT_EQ(a().craft.powerup, POWERUP_WALL);
    EXPECT_EQ(a().armed, 0);
    EXPECT_FALSE(a().wall.placed());
}

TEST_F(CastlePowerups, AWallStandsBehindItsPlacerAndKillsWhoCrossesIt) {
    Craft& craft = a().craft;
    while (craft.z < 5000) steps(1, forward(), {});
    a().armed = POWERUP_WALL;
    steps(1, forward(), {});
    ASSERT_TRUE(a().wall.placed());
    EXPECT_EQ(a().wall.y, 0);
    EXPECT_EQ(a().wall.z, craft.prevZ - 120) << "behind where it stood";
    EXPECT_TRUE(services.mixer.played(ANY_CHANNEL, SOUND_PLACE));
    // B comes the other way through it.
    Craft& other = b().craft;
    other.x = a().wall.x + 900;
    other.z = other.prevZ = a().wall.z + 50;
    other.f_speed = 200;
    steps(1);
    EXPECT_EQ(b().deaths, 1);
    EXPECT_EQ(other.z, 24000 - 500) << "back at its start";
}

TEST_F(CastlePowerups, IceAndHurtChangeTheBlockStoodOnForAWhile) {
    Craft& craft = a().craft;
    while (craft.z < 5000) steps(1, forward(), {});
    a().armed = POWERUP_ICE;
    steps(1);
    const Block& block = castle.level.blocks[2];
    EXPECT_EQ(effectiveType(block), BLOCK_ICE);
    // B's step in the same frame advances the level once more.
    EXPECT_EQ(block.body.changedTypeTime, 2000 - 1);
    EXPECT_EQ(craft.groundType, BLOCK_ICE) << "at once";
    EXPECT_EQ(a().armed, 0);
    steps(10);
    EXPECT_EQ(block.body.changedTypeTime, 2000 - 21) << "wears off with each craft's step";
    a().armed = POWERUP_HURT;
    steps(1);
    EXPECT_EQ(effectiveType(block), BLOCK_HURT);
    EXPECT_EQ(block.body.changedTypeTime, 2000 - 1);
}

TEST_F(CastlePowerups, TheShieldKeepsHurtBlocksAndPushesAway) {
    Craft& craft = a().craft;
    while (craft.z < 10300) steps(1, forward(), {});
    a().shieldTime = 100;
    craft.f_speed = 0;
    craft.health = 50;
    steps(20);
    EXPECT_EQ(craft.health, 50) << "no damage while shielded";
    a().shieldTime = 0;
    steps(2);
    EXPECT_LT(craft.health, 50);

    // B pushes A from beside: shielded, A stays unmoved.
    b().craft.x = craft.x + 500;
    b().craft.z = craft.z;
    b().craft.ypos = craft.ypos;
    b().pushTime = 5;
    a().shieldTime = 50;
    const int32_t side = craft.s_speed, rising = craft.v_speed;
    castle.contacts(true, true);
    EXPECT_EQ(craft.s_speed, side);
    EXPECT_EQ(craft.v_speed, rising);
    a().shieldTime = 0;
    castle.contacts(true, true);
    EXPECT_EQ(craft.s_speed, -100) << "A at lower x is pushed toward -x";
    EXPECT_EQ(craft.v_speed, rising + 10);
}

TEST_F(CastlePowerups, TheAirJumpTakesOffOnceWhileFalling) {
    Craft& craft = a().craft;
    craft.powerup = POWERUP_AIR_JUMP;
    craft.ypos += 3000;  // in the air above the start
    HeldKeys jump;
    jump.jump = true;
    steps(2, jump, {});
    ASSERT_EQ(craft.powerup, 0);
    EXPECT_EQ(a().powerupsUsed, 1);
    EXPECT_GT(craft.v_speed, 100);
    EXPECT_TRUE(services.mixer.played(ANY_CHANNEL, SOUND_JUMP));
}

class CastleContact : public CastleLevel {
protected:
    void SetUp() override {
        CastleLevel::SetUp();
        load(ARENA);
    }
    void meet(int bX) {
        Craft& a = castle.players[0].craft;
        Craft& b = castle.players[1].craft;
        a.x = 0;
        b.x = bX;
        a.z = b.z = 8000;
        a.ypos = b.ypos = 150;
        a.f_speed = 200;
        b.f_speed = 100;
    }
};

TEST_F(CastleContact, HeadOnCraftsBounceBack) {
    meet(0);
    castle.contacts(false, false);
    const Craft& a = castle.players[0].craft;
    const Craft& b = castle.players[1].craft;
    EXPECT_EQ(b.f_speed, -100);
    EXPECT_EQ(a.f_speed, -50);
    EXPECT_EQ(a.holdTimer, 25);
    EXPECT_EQ(b.holdTimer, 25);
    EXPECT_EQ(a.v_speed, 15);
    EXPECT_EQ(services.mixer.count(SOUND_BUMP), 1);
    castle.contacts(false, false);
    EXPECT_EQ(services.mixer.count(SOUND_BUMP), 1) << "held crafts do not bump again";
}

TEST_F(CastleContact, CraftsMeetingSideOnAreThrownApart) {
    meet(-61);  // B beside A on the -x side
    castle.contacts(false, false);
    const Craft& a = castle.players[0].craft;
    const Craft& b = castle.players[1].craft;
    EXPECT_EQ(b.s_speed, 100);
    EXPECT_EQ(a.s_speed, 50);
    EXPECT_EQ(b.f_speed, -50);
    EXPECT_EQ(a.f_speed, -25);
    meet(61);
    castle.players[0].craft.holdTimer = 0;
    castle.contacts(false, false);
    EXPECT_EQ(castle.players[1].craft.s_speed, -100);
    EXPECT_EQ(castle.players[0].craft.s_speed, -50);
}

TEST_F(CastleContact, FarCraftsOrAHeldCraftADoNotTouch) {
    meet(500);
    castle.contacts(false, false);
    EXPECT_EQ(services.mixer.count(SOUND_BUMP), 0);
    meet(0);
    castle.players[0].craft.holdTimer = 3;
    castle.contacts(false, false);
    EXPECT_EQ(services.mixer.count(SOUND_BUMP), 0);
}

TEST_F(CastleContact, APushReachesTwoThousandAndLiftsAHigherVictimMore) {
    meet(1000);
    CastlePlayer& a = castle.players[0];
    Craft& b = castle.players[1].craft;
    b.ypos = 400;
    b.v_speed = 0;
    a.pushTime = 3;
    castle.contacts(false, false);
    EXPECT_EQ(b.v_speed, 20);
    EXPECT_EQ(b.s_speed, -100) << "B at higher x, seen through its own kind";
    meet(1000);
    b.z = 8000 + 1800;  // 2059 away
    b.v_speed = 0;
    castle.contacts(false, false);
    EXPECT_EQ(b.v_speed, 0);
}

TEST_F(CastleContact, ContactsRunOncePerPhysicsStepNotPerFrame) {
    meet(0);
    castle.players[0].accumulator.ms = castle.players[1].accumulator.ms = 0;
    for (int i = 0; i < 10; ++i) castle.update(1);
    EXPECT_EQ(services.mixer.count(SOUND_BUMP), 0);
    castle.update(20);
    EXPECT_EQ(services.mixer.count(SOUND_BUMP), 1);
}

// Craft B on the line that mirrors craft A's. Each drives alone in a duel
// of its own with the same keys (B's from its own point of view); B's state,
// turned back through the arena's centre, must be A's at every step.
struct MirrorState {
    int32_t x, ypos, z, f_speed, s_speed, v_speed, health, groundType, castlesHit, deaths;
    bool operator==(const MirrorState& o) const {
        return x == o.x && ypos == o.ypos && z == o.z && f_speed == o.f_speed && s_speed == o.s_speed &&
               v_speed == o.v_speed && health == o.health && groundType == o.groundType &&
               castlesHit == o.castlesHit && deaths == o.deaths;
    }
};

std::ostream& operator<<(std::ostream& out, const MirrorState& s) {
    return out << "x " << s.x << " y " << s.ypos << " z " << s.z << " f " << s.f_speed << " s " << s.s_speed
               << " v " << s.v_speed << " health " << s.health << " ground " << s.groundType << " castles hit "
               << s.castlesHit << " deaths " << s.deaths;
}

class CastleMirror : public CastleLevel {
protected:
    // The states of `player` over the steps of `keys`, B's turned back
    // about the arena's centre (both start on it: x 2cx - x, z 2zmax - z)
    // and its side contacts swapped.
    std::vector<MirrorState> drive(const std::string& text, int player, const std::vector<HeldKeys>& keys) {
        load(text);
        const Craft& a = castle.players[PLAYER_A].craft;
        const int64_t centreX2 = 2 * int64_t(a.x);
        const int64_t ends2 = int64_t(a.z) + castle.players[PLAYER_B].craft.z;
        const CastlePlayer& side = castle.players[player];
        const int opponentLives = castle.players[1 - player].castleHealth;
        std::vector<MirrorState> states;
        for (const HeldKeys& held : keys) {
            if (player == PLAYER_A)
                steps(1, held, {});
            else
                steps(1, {}, held);
            const Craft& c = side.craft;
            MirrorState s{c.x, c.ypos, c.z, c.f_speed, c.s_speed, c.v_speed, c.health, c.groundType,
                          opponentLives - castle.players[1 - player].castleHealth, side.deaths};
            if (player == PLAYER_B) {
                s.x = int32_t(centreX2 - c.x);
                s.z = int32_t(ends2 - c.z);
                if (c.groundType == GROUND_SIDE_LEFT) s.groundType = GROUND_SIDE_RIGHT;
                if (c.groundType == GROUND_SIDE_RIGHT) s.groundType = GROUND_SIDE_LEFT;
            }
            states.push_back(s);
        }
        return states;
    }

    // Drives both and compares step by step; returns A's states.
    std::vector<MirrorState> expectMirrored(const std::string& text, const std::vector<HeldKeys>& keys) {
        const std::vector<MirrorState> a = drive(text, PLAYER_A, keys);
        const std::vector<MirrorState> b = drive(text, PLAYER_B, keys);
        for (size_t i = 0; i < a.size(); ++i) {
            if (a[i] == b[i]) continue;
            ADD_FAILURE() << "step " << i + 1 << "\n A: " << a[i] << "\n B: " << b[i];
            break;
        }
        return a;
    }
};

std::vector<HeldKeys> keySteps(const std::vector<std::pair<int, const char*>>& runs) {
    std::vector<HeldKeys> keys;
    for (const auto& run : runs) {
        HeldKeys held;
        for (const char* key = run.second; *key; ++key) {
            held.forward = held.forward || *key == 'F';
            held.left = held.left || *key == 'L';
            held.right = held.right || *key == 'R';
        }
        keys.insert(keys.end(), size_t(run.first), held);
    }
    return keys;
}

// Keys that drive along the track, steer left against a block at +x
// (from step `leftFrom`, for 22 steps), steer right for 12 steps, and drive
// on; A must stand pressed against the block at `leanX`, then get away.
struct LeanDrive {
    std::vector<HeldKeys> keys;
    int leftUntil;  // the last step of the left key
    int32_t leanX;
};

LeanDrive leanDrive(int forwardSteps, int32_t leanX) {
    return {keySteps({{forwardSteps, "F"}, {10, "FL"}, {12, "L"}, {12, "R"}, {300, "F"}}), forwardSteps + 22, leanX};
}

void expectLeanAndSteerAway(const std::vector<MirrorState>& a, const LeanDrive& drive) {
    ASSERT_GT(a.size(), size_t(drive.leftUntil + 12));
    // Each step puts it back beside the block before its steering moves it
    // on by at most 110.
    for (int i : {drive.leftUntil - 2, drive.leftUntil - 1}) {
        EXPECT_GE(a[size_t(i)].x, drive.leanX) << "pressed against the block";
        EXPECT_LE(a[size_t(i)].x, drive.leanX + 110);
    }
    EXPECT_LT(a[size_t(drive.leftUntil + 11)].x, drive.leanX - 300) << "and steered away from it";
}

int firstStepWith(const std::vector<MirrorState>& states, bool (*what)(const MirrorState&)) {
    for (size_t i = 0; i < states.size(); ++i)
        if (what(states[i])) return int(i);
    return -1;
}

TEST_F(CastleMirror, CraftBOnTheMirroredLineMeetsWhatCraftAMeets) {
    // An odd first width: the arena's centre lies half a unit off the
    // block's middle. A tower overlaps the gate and the blocks around it in
    // z; a wall at +x stands beside the way after the gate.
    const std::string arena =
        "block plain pos=1201,0,0 size=2401,500,3000\n"
        "block GOAL pos=1201,0,3000 size=2401,500,1000\n"
        "block plain pos=2001,1500,2600 size=800,2000,1800\n"
        "block plain pos=1201,0,4000 size=2401,500,6000\n"
        "block plain pos=2001,1500,5000 size=800,2000,4000\n"
        "block SPEED pos=1201,0,10000 size=2401,500,1500\n"
        "block HURT pos=1201,0,11500 size=2401,500,1000\n"
        "block plain pos=1201,0,12500 size=2401,500,2000\n";
    const LeanDrive drive = leanDrive(40, 1201 - 195);
    const std::vector<MirrorState> a = expectMirrored(arena, drive.keys);
    expectLeanAndSteerAway(a, drive);
    EXPECT_GE(firstStepWith(a, [](const MirrorState& s) { return s.groundType == GROUND_SIDE_LEFT; }), 0)
        << "the wall decides the ground beside it";
    const int scored = firstStepWith(a, [](const MirrorState& s) { return s.castlesHit > 0; });
    EXPECT_GE(scored, 0) << "A scores";
    EXPECT_LT(firstStepWith(a, [](const MirrorState& s) { return s.health < 100; }), scored) << "hurt on the way";
}

TEST_F(CastleLevel, TheMirroredScanOrderNamesEachBlocksPartner) {
    load(ARENA);
    EXPECT_EQ(mirroredScanOrder(castle.level).order, (std::vector<int>{5, 4, 3, 2, 1, 0}));
    // A level that is not its own mirror has no such order: level order.
    EXPECT_TRUE(mirroredScanOrder(levelFromText("block plain pos=800,0,0 size=1600,500,3000\n"
                                                "block plain pos=800,0,3000 size=1600,500,1000\n"))
                    .order.empty());
}

// The held power-up's icon, 0.075 of the window high, in each half of
// windows of several sizes: never below the window, never across the split.
TEST(CastleHud, ThePowerupIconStaysInsideItsHalf) {
    const int savedWidth = screenWidth, savedHeight = screenHeight;
    for (int height : {480, 600, 768, 1080, 201}) {
        screenWidth = height * 4 / 3;
        screenHeight = height;
        const int half = height / 2;
        for (int player : {PLAYER_A, PLAYER_B}) {
            SCOPED_TRACE("height " + std::to_string(height) + " player " + std::to_string(player));
            const int halfBottom = player == PLAYER_A ? 0 : half;
            const int top = halfPowerupIconTop(player);
            const int bottom = top - int(0.075 * height);
            EXPECT_GE(bottom, halfBottom);
            EXPECT_LE(top, halfBottom + half);
            EXPECT_EQ(bottom, halfBottom + int(half * 0.1)) << "on the line of the castle health";
        }
    }
    screenWidth = savedWidth;
    screenHeight = savedHeight;
}

std::string shippedText(const std::string& name) {
    for (const ShippedLevel& shipped : findShippedLevels()) {
        if (shipped.name != name) continue;
        std::ifstream in(shipped.textPath);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    return "";
}

// Scoring on the same step is every shipped map's test below; here both
// lean alike against bastion's tower beside the gate, where the tower and
// the gate both lie under the craft.
TEST_F(CastleMirror, BothPlayersLeanAlikeOnBastionsTowers) {
    const std::string bastion = shippedText("ca-bastion");
    ASSERT_FALSE(bastion.empty());
    const LeanDrive drive = leanDrive(20, 1200 - 195);
    expectLeanAndSteerAway(expectMirrored(bastion, drive.keys), drive);
}

TEST_F(CastleMirror, EveryShippedCastleMapIsFairToBothPlayers) {
    for (const ShippedLevel& shipped : findShippedLevels()) {
        if (shipped.name.rfind("ca-", 0) != 0) continue;
        SCOPED_TRACE(shipped.relative);
        const std::vector<HeldKeys> attack = readRecording(shipped.keysPath);
        ASSERT_FALSE(attack.empty());
        const std::vector<MirrorState> a = expectMirrored(shippedText(shipped.name), attack);
        EXPECT_GE(firstStepWith(a, [](const MirrorState& s) { return s.castlesHit > 0; }), 0);
    }
}

}  // namespace
