// Writes the seed corpus of the two-player fuzz target: multiplayer.ini as
// written and with quirky lines, and small castle-attack halves.
#include <cstdio>
#include <string>
#include <vector>

#include "level/level_file.h"
#include "level/level_text.h"
#include "modes/multi/multiplayer_settings_file.h"

namespace {
bool writeFile(const std::string& path, const void* data, size_t size) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool ok = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && ok;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string folder = argv[1];
    MultiplayerSettings values;
    values.raceLives = 9;
    values.powerups = false;
    const std::string inis[] = {
        multiplayerSettingsText(values),
        "[CASTLE-ATTACK]\nlives = 0\npowerups = 7\ngravity = 4\n\n[RACE]\nlives\ngravity =\n\n",
        "[CASTLE-ATTACK]\n" + std::string(62, 'x') + "=9\npowerups = 1\n",
    };
    int n = 0;
    for (const std::string& text : inis)
        if (!writeFile(folder + "/ini" + std::to_string(n++), text.data(), text.size())) return 1;
    const char* halves[] = {
        "block plain pos=800,0,0 size=1600,500,3000\n"
        "block GOAL pos=800,0,3000 size=1600,500,1000\n"
        "block plain pos=800,0,4000 size=1600,500,6000 point=1,6000,0 flags=POWERUP\n",
        "block plain pos=1600,-300,0 size=3200,500,3000 point=1000,1500,0 flags=POWERUP\n"
        "block GOAL pos=1600,-300,3000 size=3200,500,1500\n"
        "block HURT pos=1600,0,7500 size=3200,500,2500 flags=TOUCH_TRIGGER,HAS_TARGET target=3\n"
        "block ICE pos=900,0,10000 size=1800,500,3000 point=1500,0,10000 flags=MOVE period=2\n",
    };
    n = 0;
    for (const char* text : halves) {
        Level level;
        if (parseLevelText(text, level, nullptr) != 0) return 1;
        const std::vector<uint8_t> bytes = levelBytes(level);
        if (!writeFile(folder + "/castle" + std::to_string(n++), bytes.data(), bytes.size())) return 1;
    }
    return 0;
}
