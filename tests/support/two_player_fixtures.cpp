#include "support/two_player_fixtures.h"

#include <fstream>
#include <vector>

#include "level/level_file.h"
#include "support/sim_levels.h"

std::string TwoPlayerLevel::writeLevel(const std::string& text, const std::string& name) {
    std::vector<uint8_t> bytes = levelBytes(levelFromText(text));
    std::ofstream(temp.file(name), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return temp.file(name);
}

void RaceLevel::load(const std::string& text, int lives, int gravity) {
    ASSERT_EQ(race.loadLevel(writeLevel(text)), 0);
    race.start(lives, gravity);
    services.mixer.clear();
}

void RaceLevel::steps(int count, HeldKeys a, HeldKeys b) {
    for (int i = 0; i < count; ++i) {
        holdPlayerKeys(race.players[0].craft, 1, a);
        holdPlayerKeys(race.players[1].craft, 2, b);
        race.stepRound();
    }
}

void CastleLevel::load(const std::string& text, int lives, bool powerups, int gravity) {
    ASSERT_EQ(castle.loadLevel(writeLevel(text)), 0);
    castle.start(lives, powerups, gravity);
    services.mixer.clear();
}

void CastleLevel::steps(int count, HeldKeys a, HeldKeys b) {
    for (int i = 0; i < count; ++i) {
        holdPlayerKeys(castle.players[0].craft, 1, a);
        holdPlayerKeys(castle.players[1].craft, 2, b);
        castle.stepRound();
    }
}
