// libFuzzer target: any bytes as a level file, then as level text. A level
// that loads must write back to the same bytes, print to text that parses
// back to the same bytes, and survive a few hundred physics steps, on each of
// which the indexed ground scan must agree with the block-by-block one. The
// computer crafts and a pong game then run on it in the single-player order.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/settings.h"
#include "level/level_file.h"
#include "level/level_text.h"
#include "sim/computer_craft.h"
#include "sim/physics.h"

namespace {

class QuietHooks : public PlayHooks, public ItemScanHooks {
public:
    explicit QuietHooks(Level& level) : level_(level) {}
    void onDeath(Craft& craft, DeathCause) override { resetCraft(craft, level_, craft.checkpoint); }
    void onFinish(Craft& craft, int) override { resetCraft(craft, level_, 0); }

private:
    Level& level_;
};

bool sameCraft(const Craft& a, const Craft& b) {
    if (a.x != b.x || a.ypos != b.ypos || a.z != b.z || a.camX != b.camX || a.camY != b.camY || a.camZ != b.camZ ||
        a.f_speed != b.f_speed || a.s_speed != b.s_speed || a.v_speed != b.v_speed || a.powerup != b.powerup ||
        a.holdTimer != b.holdTimer || a.lastTouched != b.lastTouched || a.touchedTriggerCount != b.touchedTriggerCount)
        return false;
    return std::equal(a.touchedTriggers, a.touchedTriggers + CRAFT_TOUCHED_TRIGGER_MEMORY, b.touchedTriggers);
}

bool sameRunState(const Level& a, const Level& b) {
    for (size_t i = 0; i < a.blocks.size(); ++i) {
        const Block& p = a.blocks[i];
        const Block& q = b.blocks[i];
        if (p.pickupCooldown != q.pickupCooldown || p.body.moving != q.body.moving ||
            p.body.moveTime != q.body.moveTime || p.body.changedType != q.body.changedType ||
            p.body.changedTypeTime != q.body.changedTypeTime)
            return false;
    }
    return true;
}

// The indexed scan skips blocks behind the craft; whatever the file holds and
// whatever kind of craft scans, it must see exactly what the plain scan sees.
void checkScansAgree(const Craft& craft, const Level& level, int step) {
    static const int32_t kinds[] = {1, -1, 0, 99};
    Craft fast = craft, plain = craft;
    fast.kind = plain.kind = kinds[step % 4];
    Level fastLevel = level, plainLevel = level;
    GroundScanOptions options;
    options.pongCourts = (step & 4) != 0;
    // A powerup pickup draws a random number: both scans draw the same one.
    std::srand(unsigned(step) + 1);
    GroundScanResult a = groundScan(fast, fastLevel, options);
    std::srand(unsigned(step) + 1);
    GroundScanResult b = groundScanEveryBlock(plain, plainLevel, options);
    if (a.groundType != b.groundType || a.crashed != b.crashed || a.standingBlock != b.standingBlock ||
        a.pongStartBlock != b.pongStartBlock || !sameCraft(fast, plain) || !sameRunState(fastLevel, plainLevel))
        std::abort();
}

void drive(Level& level, uint8_t keyPattern) {
    Craft craft;
    resetCraft(craft, level, 0);
    QuietHooks hooks(level);
    PlayRules rules = (keyPattern & 1) ? singlePlayerRules(hooks) : castleRules(hooks, 2, 5 + keyPattern % 6);
    const ControlKeys& keys = rules.keys;
    const int codes[5] = {keys.forward, keys.backward, keys.left, keys.right, keys.jump};
    for (int step = 0; step < 300; ++step) {
        for (int k = 0; k < 5; ++k) setKeyHeld(craft, codes[k], ((keyPattern + step / 40) >> k) & 1);
        advanceLevel(level);
        checkScansAgree(craft, level, step);
        physicsStep(craft, level, rules);
        scanItems(craft, level, hooks);
    }
}

class LifeHooks : public PongHooks {
public:
    void onPongLost(Craft& player) override {
        if (player.lives > 1) player.lives -= 1;
    }
};

class SpawningHooks : public ItemScanHooks {
public:
    explicit SpawningHooks(ComputerCrafts& computer) : computer_(computer) {}
    void onBonusSpawnPoint(Level& level, int i) override { computer_.onBonusSpawnPoint(level, i); }
    void onPusherSpawnPoint(Level& level, int i) override { computer_.onPusherSpawnPoint(level, i); }

private:
    ComputerCrafts& computer_;
};

// The player drives as the key pattern says; a computer craft is spawned on
// some block whenever none is active, and a pong game on some block whenever
// none runs, whatever those blocks hold.
void driveComputerObjects(Level& level, uint8_t keyPattern) {
    if (level.blocks.empty()) return;
    Craft player;
    resetCraft(player, level, 0);
    player.lives = 6;
    QuietHooks hooks(level);
    PlayRules rules = singlePlayerRules(hooks);
    ComputerCrafts computer;
    SpawningHooks spawning(computer);
    LifeHooks lives;
    const ControlKeys& keys = rules.keys;
    const int codes[5] = {keys.forward, keys.backward, keys.left, keys.right, keys.jump};
    const int count = level.blockCount();
    for (int step = 0; step < 300; ++step) {
        if (step % 60 == 0 && !computer.anyActive())
            computer.spawn((keyPattern + step) & 8 ? CRAFT_KIND_PUSHER : CRAFT_KIND_BONUS, level,
                           (keyPattern + step / 60) % count);
        if (step % 90 == 0 && !computer.pong.running()) {
            computer.pong.start(level, (keyPattern / 3 + step / 90) % count);
            player.holdTimer = HOLD_BY_PONG;
        }
        for (int k = 0; k < 5; ++k) setKeyHeld(player, codes[k], ((keyPattern + step / 30) >> k) & 1);
        advanceLevel(level);
        if (physicsStep(player, level, rules) == StepOutcome::Completed) scanItems(player, level, spawning);
        computer.step(player, level, keys, lives);
        if (player.holdTimer > 0) --player.holdTimer;
    }
}

void checkLevelBytes(const uint8_t* data, size_t size) {
    Level level;
    bool oldForm = false;
    if (readLevel(data, size, level, &oldForm) != 0) return;
    std::vector<uint8_t> bytes = levelBytes(level, oldForm);
    if (bytes.size() > size || !std::equal(bytes.begin(), bytes.end(), data)) std::abort();
    Level fromText;
    bool textOld = false;
    if (parseLevelText(printLevelText(level, oldForm), fromText, nullptr, &textOld) != 0) std::abort();
    if (levelBytes(fromText, textOld) != bytes) std::abort();
    if (level.blockCount() <= 64) drive(level, size ? data[size - 1] : 0);
    if (level.blockCount() <= 64) driveComputerObjects(level, size ? data[size / 2] : 0);
    if (level.blockCount() <= 64) buildCastleArena(level);
}

void checkLevelText(const uint8_t* data, size_t size) {
    Level level;
    LevelTextError error;
    std::string text(reinterpret_cast<const char*>(data), size);
    if (parseLevelText(text, level, &error) != 0) return;
    Level again;
    if (readLevel(levelBytes(level), again) != 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    settings = defaultSettings();
    std::srand(1);
    checkLevelBytes(data, size);
    checkLevelText(data, size);
    return 0;
}
