#include "support/sim_levels.h"

#include <cstdio>
#include <cstdlib>

#include "level/level_text.h"

Level levelFromText(const std::string& text) {
    Level level;
    LevelTextError error;
    if (parseLevelText(text, level, &error) != 0) {
        std::fprintf(stderr, "test level, line %d: %s\n", error.line, error.message.c_str());
        std::abort();
    }
    return level;
}

Level longTrackLevel(int count, int movingEvery) {
    std::string text = "medals 0 0 0\n";
    for (int i = 0; i < count; ++i) {
        int z = i * 1000;
        text += "block plain pos=300,0," + std::to_string(z) + " size=600,500,1000";
        if (movingEvery > 0 && i % movingEvery == movingEvery - 1)
            text += " point=900,0," + std::to_string(z) + " flags=MOVE,START_TRIGGER period=2";
        text += "\n";
    }
    return levelFromText(text);
}
