#include "app/command_line.h"

#include <cstdio>
#include <cstdlib>

#include "core/version.h"

namespace {

// "800x600": both sides from 1 to 16384, nothing else on the line.
bool parseSize(const std::string& text, int& width, int& height) {
    int w = 0, h = 0;
    char end = 0;
    if (std::sscanf(text.c_str(), "%dx%d%c", &w, &h, &end) != 2) return false;
    if (w < 1 || h < 1 || w > 16384 || h > 16384) return false;
    width = w;
    height = h;
    return true;
}

}  // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    for (int i = 1; i < argc && line.error.empty(); ++i) {
        const std::string option = argv[i];
        // Options that take a value accept "--data DIR" and "--data=DIR".
        std::string value;
        bool hasValue = false;
        std::string name = option;
        const std::size_t equals = option.find('=');
        if (option.compare(0, 2, "--") == 0 && equals != std::string::npos) {
            name = option.substr(0, equals);
            value = option.substr(equals + 1);
            hasValue = true;
        }
        const bool takesValue = name == "--data" || name == "--user" || name == "--size";
        if (takesValue && !hasValue) {
            if (i + 1 >= argc) {
                line.error = "option " + name + " needs a value";
                break;
            }
            value = argv[++i];
        } else if (!takesValue && hasValue) {
            line.error = "option " + name + " takes no value";
            break;
        }
        if (name == "--help" || name == "-h")
            line.showHelp = true;
        else if (name == "--version")
            line.showVersion = true;
        else if (name == "--windowed")
            line.windowed = 1;
        else if (name == "--fullscreen")
            line.windowed = 0;
        else if (name == "--data" || name == "--user") {
            if (value.empty()) line.error = "option " + name + " needs a folder";
            (name == "--data" ? line.dataFolder : line.userFolder) = value;
        } else if (name == "--size") {
            if (!parseSize(value, line.width, line.height)) line.error = "bad size '" + value + "' (use WxH, e.g. 1024x768)";
        } else {
            line.error = "unknown option '" + option + "'";
        }
    }
    return line;
}

std::string usageText() {
    return "Usage: tavrelo [OPTION]...\n"
           "A 3D arcade track game: steer a craft along tracks of boxes floating in space.\n"
           "\n"
           "  --windowed        play in a window this time\n"
           "  --fullscreen      play full screen this time\n"
           "  --size WxH        use a video size of W x H pixels this time\n"
           "  --data DIR        read the game's data (gfx, sounds, shaders, maps) from DIR\n"
           "  --user DIR        keep settings, records, ghosts, progress and levels in DIR\n"
           "                    (by default the settings go to $XDG_CONFIG_HOME/tavrelo,\n"
           "                    i.e. ~/.config/tavrelo, the rest to $XDG_DATA_HOME/tavrelo,\n"
           "                    i.e. ~/.local/share/tavrelo)\n"
           "  -h, --help        show this help and exit\n"
           "      --version     show the version and exit\n"
           "\n"
           "settings.ini keeps its own video size and window mode; the options above\n"
           "change them for this start only. Alt+Enter switches full screen while playing.\n";
}

std::string versionText() { return "tavrelo " TAVRELO_VERSION "\n"; }
