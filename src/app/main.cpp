#include <unistd.h>

#include <climits>
#include <csignal>
#include <cstdio>
#include <string>

#include "app/main_loop.h"

namespace {

// Data paths (gfx/, sounds/, maps/, settings.ini) are relative to the folder
// that holds the executable, wherever the game is started from.
void changeToGameFolder(const char* argv0) {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    std::string executable = length > 0 ? std::string(path, size_t(length)) : std::string(argv0 ? argv0 : "");
    const size_t slash = executable.rfind('/');
    if (slash == std::string::npos) return;
    const std::string folder = slash == 0 ? "/" : executable.substr(0, slash);
    if (chdir(folder.c_str()) != 0) std::perror(folder.c_str());
}

}  // namespace

int main(int, char** argv) {
    // Past a file-size limit a write fails with EFBIG like a full disk, and
    // the saving screens tell the player, instead of the game being killed
    // with the unsaved work.
    std::signal(SIGXFSZ, SIG_IGN);
    // Messages show up at once even when the output is a pipe or a file.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    changeToGameFolder(argv[0]);
    return runGame();
}
