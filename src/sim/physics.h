#pragma once

#include <cstdint>
#include <string>

#include "level/level.h"
#include "sim/craft.h"
#include "sim/track.h"
#include "sim/view_angle.h"

// The player's physics step, shared by every play mode. The modes differ in a
// few named ways (PlayRules) and react to deaths, the goal and pong courts
// through PlayHooks; nothing here prints, draws or reads the clock directly.

enum class DeathCause { Fall, Crash, Health };
enum class StepOutcome {
    Completed,  // run the rest of the mode's step and keep the remainder
    Died,       // the death hook ran; the step ended early
    Finished    // the finish hook ran; the step ended early
};

// ---- Step frame --------------------------------------------------------
// A physics step stands for STEP_MS of play. A frame's milliseconds gather
// in the accumulator; a step runs while 22 have gathered and every step run
// (one that ended in a death or at the goal too) takes 21 off, so the steps
// keep up with the clock at any frame rate (at full speed, one step per
// 21 ms as ever). A frame runs at most MAX_STEPS_PER_FRAME steps:
// what a stalled frame gathers beyond them is dropped, so a stall of
// seconds does not replay them all at once, and the run clock, which counts
// steps, never counts it either.
constexpr int32_t STEP_START_MS = 22;
constexpr int32_t STEP_MS = 21;
constexpr int MAX_STEPS_PER_FRAME = 8;  // 168 ms: true speed down to 6 frames a second

struct StepAccumulator {
    int32_t ms = 0;
};
// Adds a frame's milliseconds, keeping no more than MAX_STEPS_PER_FRAME
// steps can use.
void addFrameTime(StepAccumulator& accumulator, int32_t elapsedMs);
bool stepDue(const StepAccumulator& accumulator);
void stepFinished(StepAccumulator& accumulator);
// Runs `step` while a step is due, at most MAX_STEPS_PER_FRAME times; `stop`
// is asked after each step (the goal reached). Returns the steps run.
template <class Step, class Stop>
int runDueSteps(StepAccumulator& accumulator, Step step, Stop stop) {
    int count = 0;
    while (count < MAX_STEPS_PER_FRAME && stepDue(accumulator)) {
        ++count;
        step();
        stepFinished(accumulator);
        if (stop()) break;
    }
    return count;
}

// ---- Held keys ---------------------------------------------------------
struct ControlKeys {
    int forward, backward, right, left, jump;
};
// The bound codes of key group 1 (Forward1..) or 2 (Forward2..); single
// player and time attack steer with group 2.
ControlKeys controlKeys(int group);
// The play state's event handler sets and clears keys[code]; codes outside
// 0..322 are ignored (never held).
void setKeyHeld(Craft& craft, int code, bool held);
bool keyHeld(const Craft& craft, int code);
// A player's craft that starts or restarts a run holds the keys held down
// now (core/held_keys.h): a key pressed before, or held through a fall,
// drives without a fresh press.
void holdKeysDownNow(Craft& craft);
// Forward, backward, right or left held: a held key of these counts as the
// first key of a run that starts with it down.
bool drivingKeyHeld(const Craft& craft, const ControlKeys& keys);

// ---- Motion constants --------------------------------------------------
constexpr int FORWARD_LIMIT = 450;
constexpr int BACKWARD_LIMIT = -100;
constexpr int GRAVITY = 8;
constexpr int JUMP_SPEED = 125;
constexpr int JUMP_BELOW_SPEED = 100;
constexpr int WALL_JUMP_PUSH = 95;
constexpr int AIR_SIDE_LIMIT = 85;
constexpr int FALL_SPEED = -440;     // v_speed below this: the craft has fallen
constexpr int PONG_SIDE_SPEED = 95;


// What a play mode does when the step reaches one of its own moments.
class PlayHooks {
public:
    virtual ~PlayHooks() = default;
    // The explosion has already played. Print "Died after ..." where the mode
    // does (diedMessage), then reset or respawn the craft.
    virtual void onDeath(Craft& craft, DeathCause cause) = 0;
    // The craft stands on a goal block (`blockIndex`, -1 when unknown).
    virtual void onFinish(Craft& craft, int blockIndex) = 0;
    // Single player: a pong game starts on the court (holdTimer and f_speed
    // are already set); show message 1, 2 or 3 for difficulty 0, 1, other.
    virtual void onPongStart(Craft& craft, Level& level, int blockIndex) {
        (void)craft; (void)level; (void)blockIndex;
    }
    // Castle attack: air jump and "no powerups" before the scan; armed
    // powerups on the block stood on after it (may change craft.groundType).
    // After a crash only onDeath runs, so whatever beforeGroundScan set for
    // the scan alone (powerup -1) is for onDeath to put right.
    virtual void beforeGroundScan(Craft& craft, Level& level) { (void)craft; (void)level; }
    virtual void afterGroundScan(Craft& craft, Level& level, int standingBlock) {
        (void)craft; (void)level; (void)standingBlock;
    }
    // Castle attack: a shield keeps HURT blocks from costing health.
    virtual bool hurtApplies(const Craft& craft) { (void)craft; return true; }
    // Castle attack: a goal block of the craft's own castle does nothing, and
    // the step goes on as on plain ground (were it to end the step, the craft
    // would never leave its castle). Elsewhere a goal calls onFinish and ends
    // the step.
    virtual bool goalApplies(const Craft& craft, int blockIndex) {
        (void)craft; (void)blockIndex;
        return true;
    }
};

enum class JumpRule {
    BelowSpeed100,  // single player, time attack: only while v_speed < 100
    Always          // race, castle attack: whenever the block allows it
};

struct PlayRules {
    ControlKeys keys{};
    int gravity = GRAVITY;                   // race and castle attack: 5..10
    JumpRule jumpRule = JumpRule::BelowSpeed100;
    bool directionFromKind = false;          // castle attack: kind (+1/-1) turns motion and wall push
    bool pongCourts = false;                 // single player only
    bool viewAngleInStep = true;             // race, castle attack: the draw updates it
    bool crashContinuesStep = false;         // single player: after the death routine the step goes on on plain ground
    ViewAngleRules view = singlePlayerViewRules();
    PlayHooks* hooks = nullptr;              // required

    // Where the computer crafts' simpler step differs (computer_physics.h);
    // the defaults are the players'.
    bool airSteering = true;        // false: in the air only gravity acts
    int fixedSteering = 0;          // > 0: on the ground the steering keys add this much, within +-180
    bool iceSpeedGrip = true;       // false: no f_speed / 55 grip and no 7 back from beyond +-100 on ICE
    bool jumpSounds = true;         // the jump key and the jump pad play the jump sound
    bool jumpReleasesKey = false;   // the jump flag is cleared once the craft jumps
    bool crazyFlipsView = true;     // CRAZY turns the view upside down
    bool landingStopsFall = false;  // the ground scan sets v_speed 0 on a landing (no landing bump)
    bool startDetection = true;     // a nonzero f_speed moves phase 0 to 1
    bool moveCamera = true;         // the integration moves the eye with the craft

    // Castle attack's craft B: the ground scan's mirrored block order
    // (GroundScanOptions::mirroredOrder).
    const MirroredScanOrder* mirroredScanOrder = nullptr;
};

PlayRules singlePlayerRules(PlayHooks& hooks);
PlayRules timeAttackRules(PlayHooks& hooks);
// keyGroup 1 or 2; gravity from the multiplayer settings.
PlayRules raceRules(PlayHooks& hooks, int keyGroup, int gravity);
PlayRules castleRules(PlayHooks& hooks, int keyGroup, int gravity);

// One physics step of a player's craft: fall check, ground scan, air or
// ground control, jump, block effect, start detection, integration. The
// level advance, item scan, computer crafts and holdTimer countdown are the
// mode's, around this call.
StepOutcome physicsStep(Craft& craft, Level& level, const PlayRules& rules);

// The phases, for the modes' own drivers and for tests.
void airControl(Craft& craft, const PlayRules& rules);
// Returns savedSide, the sideways speed before the steering.
int32_t groundControl(Craft& craft, const Level& level, int previousType, const PlayRules& rules);
void jumpControl(Craft& craft, const PlayRules& rules);
StepOutcome applyBlockEffect(Craft& craft, int standingBlock, int32_t savedSide, const PlayRules& rules);
void integrate(Craft& craft, const PlayRules& rules);

// v_speed 125, the jump sound and the jump puff (the Jump2 key press of
// single player and time attack, the held jump key, the castle air jump).
// The bonus craft jumps silently.
void jumpNow(Craft& craft, bool withSound = true);

// "Died after %d:%02d:%02d" (single player) or with "%2d" minutes (time
// attack) from the run timer: minutes, seconds, msPart / 10.
std::string diedMessage(const Craft& craft, bool padMinutes);

// ---- Craft reset -------------------------------------------------------
// Clears speeds, health (100), ground types, the touched blocks, holdTimer,
// phase, finished, keys and the effects, and sets kind (1 for the player).
void clearCraftForRun(Craft& craft, int32_t kind);
// Puts the craft at (x, y, z) with the previous position there too and the
// eye `eyeBack` behind and `eyeUp` above (negative eyeBack: in front).
void placeCraft(Craft& craft, int32_t x, int32_t y, int32_t z, int eyeBack, int eyeUp);
// The start camera of every mode: the eye `eyeBack` behind and `eyeUp` above
// the craft where it stands, up (0, 1, 0), looking at a point 700 above and
// 1000 ahead in its facing (negative eyeBack: the craft faces -z).
void placeCameraBehind(Craft& craft, int eyeBack, int eyeUp);
// Single player and time attack: clear, place at the level start (block 0)
// or at checkpoint n (1-based; falls back to the start when there is no such
// checkpoint), forced view angle 35, camera, and the level reset. The mode
// removes its computer crafts and pong game itself. A level without blocks
// leaves the craft at the origin.
void resetCraft(Craft& craft, Level& level, int checkpoint,
                const ViewAngleRules& view = singlePlayerViewRules());
