#pragma once

#include <string>

// What the player asked for on the command line. Sizes of 0 and a window
// mode of -1 mean "as settings.ini says"; they change this start only and
// are never written back to settings.ini.
struct CommandLine {
    bool showHelp = false;
    bool showVersion = false;
    int windowed = -1;  // 1 --windowed, 0 --fullscreen
    int width = 0;      // --size WxH
    int height = 0;
    std::string dataFolder;  // --data DIR
    std::string userFolder;  // --user DIR
    std::string error;       // set when the line is refused: the usage goes to stderr, exit 2
};

CommandLine parseCommandLine(int argc, const char* const* argv);

// The text --help prints (and, after an error, the text on stderr).
std::string usageText();

// "tavrelo <version>", e.g. "tavrelo 1.16b"
std::string versionText();
