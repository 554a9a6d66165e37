#pragma once

// The level check: what a level's proof and a naive player do on it, through
// the rules of the mode that plays it. Campaign levels (s-) run by the
// single-player rules; time-attack and race maps by the time-attack rules,
// race maps (ra-) also by the race's; castle maps (ca-) by castle attack's.

#include <cstdint>
#include <string>
#include <vector>

#include "modes/timeattack/records_file.h"
#include "replay/counted_runs.h"
#include "replay/recording.h"

enum class LevelMode { Campaign, TimeAttack, Race, Castle };
LevelMode levelModeOf(const std::string& name);

constexpr int CHECK_STEP_MS = 21;          // one physics step
constexpr int NAIVE_STEP_LIMIT = 20000;    // about 7 minutes
constexpr int RACE_CHECK_LAPS = 3;
constexpr int RACE_CHECK_STEP_LIMIT = 30000;
constexpr int RACE_CHECK_LIVES = 3;
constexpr int CASTLE_CHECK_LIVES = 5;      // also the attacks the proof must land
constexpr int CASTLE_KEY_STEPS = 1500;
constexpr int CHECK_GRAVITY = 8;
// A level where the forward-only player loses a life this soon, right after
// one it finishes, is a cliff in the campaign's ramp.
constexpr int CLIFF_MS = 4000;
// A craft standing, waiting for a ferry or a gate or riding one, or
// creeping while it waits: the recorder's proofs wait at a few units a step
// as often as at 0. Within 5 % of the top speed (450); a pong game is play,
// not a wait, though it holds the craft at 0.
constexpr int STANDING_SPEED = 20;
// The level design rules a level keeps by itself: its medal times at most
// these shares above its proof's time (gold, silver, bronze), at most one
// proof step in STANDING_ONE_IN standing, and no medal above bronze for
// holding forward alone.
constexpr int MEDAL_ABOVE_PERCENT[] = {7, 30, 60};
constexpr int STANDING_ONE_IN = 3;

// A replay of the proof through the level's one-craft rules (campaign and
// time attack; for castle maps the first attack of the duel).
struct ProofRun {
    bool present = false;   // a readable .keys beside the level
    bool finished = false;
    int steps = 0;          // until the goal (castle: the first hit)
    DeathCount deaths;
    int livesStart = 0, livesEnd = 0;  // campaign levels
    int pongGames = 0;                 // campaign levels: games started
    // Steps that end standing (castle maps: of the first attack).
    int standingSteps = 0;
    bool clean() const { return finished && deaths.total() == 0 && livesEnd >= livesStart; }
};

// Forward held, nothing else, until the goal, the first life lost or the
// step limit.
struct NaiveRun {
    enum Result { FinishedClean, LostLife, DidNotFinish } result = DidNotFinish;
    int step = 0;  // of the finish or of the lost life
};

// Each player alone holding forward until a life is lost or three laps are
// driven; the proof driven by both crafts side by side.
struct RaceCheck {
    bool proofScoresForBoth = false;  // each scored a point, no life lost
    int lifeLostStep[2] = {-1, -1};   // -1: none
    int lifeLostLap[2] = {0, 0};      // 1-based
    int laps[2] = {0, 0};             // driven without losing a life
    bool forwardLosesALife() const { return lifeLostStep[0] >= 0 && lifeLostStep[1] >= 0; }
};

// One key held alone by one craft.
struct HeldKeyScore {
    int player = 0;  // 0 A, 1 B
    char key = 'F';
    int step = 0;    // of the hit
};

struct CastleCheck {
    int hits = 0;          // attacks of the proof that scored, of CASTLE_CHECK_LIVES
    bool won = false;
    DeathCount deaths;     // of the attacker over the whole duel
    int castleLost = 0;    // the attacker's own castle health lost
    int missedAttack = 0;  // the first attack of the proof that missed (1-based), 0 none
    std::vector<HeldKeyScore> singleKeyScores;  // the keys that score alone within CASTLE_KEY_STEPS
    bool proofWins() const { return won && hits == CASTLE_CHECK_LIVES && deaths.total() == 0 && castleLost == 0; }
};

struct LevelReport {
    std::string path;
    std::string label;  // the path below the folder checked, without suffix
    std::string name;
    LevelMode mode = LevelMode::TimeAttack;
    std::string error;  // the level cannot be read
    int blocks = 0;
    int64_t length = 0;  // z extent of the track
    int goldMs = 0, silverMs = 0, bronzeMs = 0;
    int pongCourts = 0;  // a proof that plays fewer games shows a court can be driven past
    ProofRun proof;
    NaiveRun naive;
    RaceCheck race;      // race maps
    CastleCheck castle;  // castle maps

    int proofTimeMs() const { return proof.steps * CHECK_STEP_MS; }
    int standingPercent() const { return proof.steps ? proof.standingSteps * 100 / proof.steps : 0; }
    // The medal (MEDAL_GOLD .. MEDAL_BRONZE, MEDAL_NONE) that holding forward
    // alone wins on a time-attack or race map.
    int naiveMedal() const;
    // Why the proof does not prove the level; empty when it does.
    std::vector<std::string> proofFaults() const;
    // The design rules above that the level breaks; empty when it keeps them.
    std::vector<std::string> designFaults() const;
    bool proofBroken() const { return !proofFaults().empty(); }
};

// The proof is the .keys beside the level; the second form takes it as
// given (the recorder checks what it found before writing it).
LevelReport checkLevel(const std::string& path, const std::string& label);
LevelReport checkLevelWithProof(const std::string& path, const std::string& label,
                                const std::vector<HeldKeys>& keys);

// The table: a header line and one row per level.
std::string checkTableHeader();
std::string checkTableRow(const LevelReport& report);
std::string describeDeaths(const DeathCount& deaths);
std::string secondsText(int ms);  // "12.3"

// A cliff in a campaign's ramp: the forward-only player finishes `easy` and
// loses a life on `hard`, the next level, within CLIFF_MS.
struct Cliff {
    std::string easy, hard;
    int step = 0;      // of the lost life on `hard`
    int campaign = 0;  // 0 for the first campaign checked
};
// Over reports sorted by path (a campaign is a folder, its levels in name
// order); the line the check prints for each.
std::vector<Cliff> campaignCliffs(const std::vector<LevelReport>& reports);
std::string cliffLine(const Cliff& cliff);
std::string campaignOf(const LevelReport& report);
