// libFuzzer target for the two-player modes: any bytes as multiplayer.ini,
// then as the stored half of a castle-attack level. The settings must come
// out in range and survive a write and read; a castle level that loads must
// double into a mirrored arena with both castles inside it and survive a few
// hundred steps of both crafts with power-ups used along the way.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/settings.h"
#include "level/level_file.h"
#include "modes/multi/castle_run.h"
#include "modes/multi/multiplayer_settings_file.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

bool inRange(const MultiplayerSettings& v) {
    return v.castleLives >= 1 && v.castleLives <= 10 && v.raceLives >= 1 && v.raceLives <= 10 &&
           v.castleGravity >= 5 && v.castleGravity <= 10 && v.raceGravity >= 5 && v.raceGravity <= 10;
}

MultiplayerSettings checkSettings(const uint8_t* data, size_t size) {
    const MultiplayerSettings read = parseMultiplayerSettings(std::string(reinterpret_cast<const char*>(data), size));
    check(inRange(read));
    const MultiplayerSettings again = parseMultiplayerSettings(multiplayerSettingsText(read));
    check(again.castleLives == read.castleLives && again.powerups == read.powerups &&
          again.castleGravity == read.castleGravity && again.raceLives == read.raceLives &&
          again.raceGravity == read.raceGravity);
    return read;
}

void duel(CastleRun& castle, const MultiplayerSettings& values, uint8_t pattern) {
    castle.start(values.castleLives, values.powerups, values.castleGravity);
    const ControlKeys groups[2] = {controlKeys(1), controlKeys(2)};
    for (int step = 0; step < 300 && !castle.over(); ++step) {
        for (int player = 0; player < 2; ++player) {
            Craft& craft = castle.players[player].craft;
            const ControlKeys& keys = groups[player];
            const int bits = (pattern >> player) + step / 30;
            setKeyHeld(craft, keys.forward, (bits & 1) != 0);
            setKeyHeld(craft, keys.left, (bits & 2) != 0);
            setKeyHeld(craft, keys.right, (bits & 4) != 0);
            setKeyHeld(craft, keys.jump, (bits & 8) != 0);
            if (step % 17 == player) {
                // Every power-up, whether or not one was picked up.
                craft.powerup = values.powerups ? 1 + (step + pattern) % 6 : craft.powerup;
                castle.usePowerup(player);
            }
        }
        castle.update(22);
        check(castle.level.validIndex(castle.castleGoalA) && castle.level.validIndex(castle.castleGoalB));
        check(castle.spinAngle >= 0 && castle.spinAngle < 360);
    }
}

void checkCastleLevel(const uint8_t* data, size_t size, const MultiplayerSettings& values) {
    Level stored;
    if (readLevel(data, size, stored) != 0 || stored.blockCount() > 64) return;
    const int storedBlocks = stored.blockCount();
    CastleRun castle;
    if (castle.useStoredHalf(stored) != 0) return;
    check(castle.level.blockCount() == 2 * storedBlocks);
    check(castle.level.validIndex(castle.farStartBlock));
    check(castle.castleGoalA < castle.castleGoalB);
    duel(castle, values, size ? data[size - 1] : 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    settings = defaultSettings();
    std::srand(1);
    const MultiplayerSettings values = checkSettings(data, size);
    checkCastleLevel(data, size, values);
    return 0;
}
