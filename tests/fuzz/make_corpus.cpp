// Writes the seed corpus: small valid levels in both forms, built from text.
#include <cstdio>
#include <string>

#include "level/level_file.h"
#include "level/level_text.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const char* texts[] = {
        "medals 30000 40000 50000\n"
        "block plain pos=300,0,0 size=600,500,4000\n"
        "block SPEED pos=300,0,4000 size=600,500,2000 flags=TOUCH_TRIGGER,HAS_TARGET target=3\n"
        "block ICE pos=300,0,6000 size=600,500,2000\n"
        "block plain pos=900,0,8000 size=600,500,2000 point=1500,200,8000 flags=MOVE,CHANGE_TYPE period=1 newtype=4\n"
        "block GOAL pos=300,0,10000 size=600,500,1000\n",
        "form old\n"
        "block plain pos=300,0,0 size=600,500,3000\n"
        "block JUMP pos=300,0,3000 size=600,500,600\n"
        "block HURT pos=300,0,5000 size=600,500,3000 point=1,6000,0 flags=CHECKPOINT\n",
        "medals 0 0 0\n"
        "block plain pos=300,0,0 size=600,500,2000 flags=START_TRIGGER,MOVE,MOVE_ONCE point=300,0,3000 period=3\n"
        "block plain pos=300,1000,2500 size=600,1000,600\n"
        "block CRAZY pos=300,0,2000 size=600,500,2000 point=200,2500,1 flags=PONG,POWERUP\n"
        "block NOJUMP pos=300,0,4000 size=600,500,2000 flags=HAS_TARGET,TOUCH_TRIGGER target=4\n"
        "block HEAL pos=300,0,6000 size=600,500,2000 flags=HAS_TARGET target=3\n",
        // Computer crafts and a pong court, with an obstacle over the court.
        "medals 0 0 0\n"
        "block plain pos=2000,0,0 size=4000,500,3000 point=10,2000,1 flags=PUSHER\n"
        "block LEFT pos=2000,0,3000 size=4000,500,3000 point=10,4000,2 flags=BONUS\n"
        "block plain pos=300,1500,4000 size=600,1000,1000\n"
        "block ICE pos=2000,-400,7000 size=4000,500,3000\n"
        "block plain pos=2000,-1000,10000 size=4000,500,8000 point=10,17000,2 flags=PONG\n"
        "block plain pos=2000,-900,13000 size=1000,300,600\n"
        "block GOAL pos=2000,-1000,18000 size=4000,500,1000\n",
    };
    int n = 0;
    for (const char* text : texts) {
        Level level;
        bool oldForm = false;
        if (parseLevelText(text, level, nullptr, &oldForm) != 0) return 1;
        std::vector<uint8_t> bytes = levelBytes(level, oldForm);
        std::string base = std::string(argv[1]) + "/seed" + std::to_string(n++);
        FILE* binary = std::fopen((base + ".slv").c_str(), "wb");
        FILE* textFile = std::fopen((base + ".txt").c_str(), "wb");
        if (!binary || !textFile) return 1;
        std::fwrite(bytes.data(), 1, bytes.size(), binary);
        std::fputs(text, textFile);
        std::fclose(binary);
        std::fclose(textFile);
    }
    return 0;
}
