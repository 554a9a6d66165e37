#include "sim/computer_physics.h"

namespace {

constexpr int COMPUTER_STEERING = 95;

// What ends a computer craft, and the block it lands on.
class ComputerStepHooks : public PlayHooks {
public:
    void onDeath(Craft&, DeathCause) override { gone = true; }
    void onFinish(Craft&, int) override { gone = true; }
    void afterGroundScan(Craft& craft, Level&, int standingBlock) override {
        if (standingBlock >= 0) craft.camX = standingBlock;  // kept while airborne
    }
    bool hurtApplies(const Craft& craft) override { return craft.kind == CRAFT_KIND_PUSHER; }

    bool gone = false;
};

}  // namespace

PlayRules computerCraftRules(PlayHooks& hooks, int kind) {
    PlayRules rules;
    rules.keys = controlKeys(1);
    rules.viewAngleInStep = false;
    rules.hooks = &hooks;
    rules.airSteering = false;
    rules.fixedSteering = COMPUTER_STEERING;
    rules.iceSpeedGrip = false;
    rules.jumpSounds = kind == CRAFT_KIND_PUSHER;
    rules.jumpReleasesKey = true;
    rules.crazyFlipsView = false;
    rules.landingStopsFall = true;
    rules.startDetection = false;
    rules.moveCamera = false;
    return rules;
}

bool computerPhysicsStep(Craft& craft, Level& level) {
    ComputerStepHooks hooks;
    PlayRules rules = computerCraftRules(hooks, craft.kind);
    physicsStep(craft, level, rules);
    return !hooks.gone;
}
