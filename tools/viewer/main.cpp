// tavrelo-view: renders one frame of a level, as single player would show
// it, into a PNG. Run from the game's runtime directory (it reads gfx/) under
// a display, e.g. xvfb-run -a -s "-screen 0 1280x1024x24" tavrelo-view ...
#include <SDL2/SDL.h>
#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/startup.h"
#include "core/globals.h"
#include "core/services.h"
#include "core/settings.h"
#include "level/level_file.h"
#include "level/level_text.h"
#include "render/camera.h"
#include "render/objects.h"
#include "render/text.h"
#include "render/textures.h"
#include "render/track.h"
#include "scene_frame.h"

namespace {

void usage() {
    std::fprintf(stderr,
                 "usage: tavrelo-view LEVEL(.slv|.txt) -o OUT.png [--z Z] [--x X] [--details 0-3]\n"
                 "                    [--shadows 0|1] [--halos 0|1] [--speed F_SPEED] [--style N]\n"
                 "                    [--size WxH] [--wireframe] [--no-craft] [--health H] [--backdrop 0-3]\n"
                 "                    [--split [--mark Z]]\n");
}

bool loadAnyLevel(const std::string& path, Level& level) {
    if (path.size() > 4 && path.compare(path.size() - 4, 4, ".txt") == 0) {
        std::ifstream in(path);
        std::stringstream text;
        text << in.rdbuf();
        LevelTextError error;
        if (!in || parseLevelText(text.str(), level, &error) != 0) {
            std::fprintf(stderr, "%s:%d: %s\n", path.c_str(), error.line, error.message.c_str());
            return false;
        }
        return true;
    }
    return readLevelFile(path, level) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    ViewerOptions options;
    std::string levelPath, outPath;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto next = [&]() -> const char* { return i + 1 < argc ? argv[++i] : ""; };
        if (arg == "-o") outPath = next();
        else if (arg == "--z") { options.z = std::atoi(next()); options.zGiven = true; }
        else if (arg == "--x") { options.x = std::atoi(next()); options.xGiven = true; }
        else if (arg == "--details") options.details = std::atoi(next());
        else if (arg == "--shadows") options.shadows = std::atoi(next()) != 0;
        else if (arg == "--halos") options.halos = std::atoi(next()) != 0;
        else if (arg == "--speed") options.forwardSpeed = std::atoi(next());
        else if (arg == "--style") options.style = std::atoi(next());
        else if (arg == "--health") options.health = std::atoi(next());
        else if (arg == "--backdrop") options.backdrop = std::atoi(next()) & 3;
        else if (arg == "--wireframe") options.wireframe = true;
        else if (arg == "--no-craft") options.craft = false;
        else if (arg == "--split") options.split = true;
        else if (arg == "--mark") options.leadingMark = std::atoi(next());
        else if (arg == "--size") std::sscanf(next(), "%dx%d", &options.width, &options.height);
        else if (!arg.empty() && arg[0] != '-') levelPath = arg;
        else { usage(); return 2; }
    }
    if (levelPath.empty() || outPath.empty()) {
        usage();
        return 2;
    }
    Level level;
    if (!loadAnyLevel(levelPath, level) || level.blocks.empty()) {
        std::fprintf(stderr, "Cannot read level %s\n", levelPath.c_str());
        return 1;
    }
    if (openViewerWindow(options) != 0) return 1;
    Craft craft = placeViewerCraft(level, options);
    if (options.split) {
        ViewerOptions ahead = options;
        ahead.z = craft.z + 3000;
        ahead.zGiven = true;
        ahead.x = craft.x - 600;
        ahead.xGiven = true;
        Craft second = placeViewerCraft(level, ahead);
        drawSplitViewerFrame(level, craft, second, options);
    } else {
        drawViewerFrame(level, craft, options);
    }
    const bool saved = saveBackBufferPng(outPath, options.width, options.height);
    SDL_Quit();
    if (!saved) {
        std::fprintf(stderr, "Cannot write %s\n", outPath.c_str());
        return 1;
    }
    return 0;
}
