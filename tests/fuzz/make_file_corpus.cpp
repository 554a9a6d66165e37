// Writes the seed corpus of one file fuzz target with the game's own
// writers: make_file_corpus settings|highscore|ghost <folder>.
#include <string>
#include <vector>

#include "core/settings.h"
#include "fuzz_files.h"
#include "modes/timeattack/ghost.h"
#include "modes/timeattack/ghost_file.h"
#include "modes/timeattack/records.h"

namespace {

int settingsSeeds(const std::string& folder) {
    settings = defaultSettings();
    if (writeSettings(folder + "/default.ini") != 0) return 1;
    settings.details = 3;
    settings.style = 2;
    settings.bloom = 5;
    settings.bloomW = 512;
    settings.animDivisor = 4;
    settings.windowed = 1;
    settings.sounds = 0;
    for (int i = 0; i < KEY_BINDING_COUNT; ++i) settings.keys[i] = 256 + i * 3;
    if (writeSettings(folder + "/changed.ini") != 0) return 1;
    // A file cut after the graphics section: later settings reuse its last line.
    std::string text = settingsFileText(settings);
    text.resize(text.find("[VIDEO]"));
    std::vector<uint8_t> bytes(text.begin(), text.end());
    writeFuzzFile(folder + "/short.ini", bytes.data(), bytes.size());
    return 0;
}

void writeSeed(const std::string& path, const std::vector<uint8_t>& bytes) {
    writeFuzzFile(path, bytes.data(), bytes.size());
}

int highscoreSeeds(const std::string& folder) {
    std::vector<RecordEntry> table = fuzzMapTable();
    writeSeed(folder + "/none.hsc", highscoreBytes(table));
    table[0].recordTime = 61234;
    table[0].holder = "Ada";
    table[0].medal = MEDAL_GOLD;
    table[2].recordTime = 999998;
    table[2].holder = "a holder name of thirty-one byte";
    table[2].medal = MEDAL_BRONZE;
    table[3].recordTime = 12;
    writeSeed(folder + "/records.hsc", highscoreBytes(table));
    // Entries for levels no longer listed, and none at all.
    table[1].fileName = "removed.slv";
    table[1].recordTime = 5000;
    writeSeed(folder + "/removed.hsc", highscoreBytes(table));
    writeSeed(folder + "/empty.hsc", highscoreBytes({}));
    return 0;
}

int ghostSeeds(const std::string& folder) {
    const int runs[] = {1, 5, 40};
    for (int samples : runs) {
        Ghost g;
        Craft craft;
        craft.x = 300;
        craft.ypos = 200;
        craft.z = 0;
        startRecording(g, craft);
        g.stepCounter = 0;
        for (int step = 0; step < (samples - 1) * GHOST_STEPS_PER_SAMPLE; ++step) {
            g.stepCounter += 1;
            craft.z += 150;
            craft.x += (step % 20 < 10) ? 30 : -30;
            craft.ypos -= step % 7;
            recordAndReplay(g, craft, 2);
        }
        const std::vector<uint8_t> bytes = ghostFileBytes(g.recording, size_t(g.sampleIndex) + 1);
        writeFuzzFile(folder + "/run" + std::to_string(samples) + ".gho", bytes.data(), bytes.size());
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    const std::string format = argv[1], folder = argv[2];
    if (format == "settings") return settingsSeeds(folder);
    if (format == "highscore") return highscoreSeeds(folder);
    if (format == "ghost") return ghostSeeds(folder);
    return 2;
}
