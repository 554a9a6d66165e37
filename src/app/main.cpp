#include <unistd.h>

#include <climits>
#include <csignal>
#include <cstdio>
#include <string>

#include "app/command_line.h"
#include "app/main_loop.h"
#include "app/startup.h"
#include "core/game_paths.h"
#include "core/gamepad.h"
#include "core/settings.h"
#include "modes/multi/multiplayer_settings_file.h"
#include "modes/timeattack/record_save.h"

namespace {

// The folder that holds the executable, wherever the game is started from.
std::string executableFolder(const char* argv0) {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    std::string executable = length > 0 ? std::string(path, size_t(length)) : std::string(argv0 ? argv0 : "");
    const size_t slash = executable.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : executable.substr(0, slash);
}

// Data paths (gfx/, sounds/, shaders/, maps/) are relative to the data root,
// so the game runs inside it; the player's files go to the user root and his
// settings to the config root, where settings kept beside his files by
// earlier versions are moved.
void chooseFolders(const CommandLine& line, const char* argv0) {
    const GameRoots roots = chooseGameRoots(executableFolder(argv0), line.dataFolder, line.userFolder);
    if (chdir(roots.data.c_str()) != 0) std::perror(roots.data.c_str());
    setGameRoots(roots);
    std::string why;
    if (!prepareUserRoot(why)) {
        std::printf("Cannot write to %s: nothing will be saved this time.\n", why.c_str());
        return;
    }
    finishInterruptedRecordSaves();
    for (const char* name : {SETTINGS_FILE, GAMEPAD_FILE, MULTIPLAYER_FILE})
        if (!moveSettingsFileToConfigRoot(name, why))
            std::printf("Could not move %s to the settings folder: %s; it stays where it was.\n", name, why.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    // Past a file-size limit a write fails with EFBIG like a full disk, and
    // the saving screens tell the player, instead of the game being killed
    // with the unsaved work.
    std::signal(SIGXFSZ, SIG_IGN);
    // Messages show up at once even when the output is a pipe or a file.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const CommandLine line = parseCommandLine(argc, argv);
    if (!line.error.empty()) {
        std::fprintf(stderr, "tavrelo: %s\n%s", line.error.c_str(), usageText().c_str());
        return 2;
    }
    if (line.showHelp) {
        std::fputs(usageText().c_str(), stdout);
        return 0;
    }
    if (line.showVersion) {
        std::fputs(versionText().c_str(), stdout);
        return 0;
    }
    chooseFolders(line, argv[0]);
    VideoOverride video;
    video.width = line.width;
    video.height = line.height;
    video.windowed = line.windowed;
    return runGame(video);
}
