#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/atomic_file.h"
#include "core/game_paths.h"

namespace {

// The whole file; false with errno set when it cannot be read.
bool readWholeFile(const std::string& path, std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    bytes.clear();
    char buffer[4096];
    std::size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, count);
    const bool ok = !std::ferror(file);
    std::fclose(file);
    if (!ok) errno = EIO;
    return ok;
}

// The folder's entry for a renamed file survives a power cut once this
// returns true; only then may the old copy go.
bool syncFolderChecked(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash ? slash : 1);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

bool fail(std::string& why, const std::string& path) {
    why = path + " (" + std::strerror(errno) + ")";
    return false;
}

}  // namespace

bool moveSettingsFileToConfigRoot(const std::string& relative, std::string& why) {
    const std::string from = userFile(relative);
    const std::string to = configFile(relative);
    if (from == to) return true;
    std::string old;
    if (!readWholeFile(from, old)) return errno == ENOENT || fail(why, from);
    std::string current;
    if (readWholeFile(to, current)) {
        // The new place wins. An old copy of the same bytes is what a move
        // cut short between writing the new copy and removing the old left.
        if (current == old) ::unlink(from.c_str());
        return true;
    }
    if (errno != ENOENT) return fail(why, to);
    if (writeFileAtomically(to, old) != 0 || !syncFolderChecked(to)) return fail(why, to);
    // Should the removal fail, the next start finds two equal copies and
    // removes the old one then.
    ::unlink(from.c_str());
    return true;
}
