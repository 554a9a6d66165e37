// libFuzzer target: any bytes as a level file, then as level text. A level
// that loads must write back to the same bytes, print to text that parses
// back to the same bytes, and survive a few hundred physics steps.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/settings.h"
#include "level/level_file.h"
#include "level/level_text.h"
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
        physicsStep(craft, level, rules);
        scanItems(craft, level, hooks);
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
