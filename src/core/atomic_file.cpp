#include "core/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <vector>

namespace {

constexpr const char TEMPORARY_MARK[] = ".tmp-";
constexpr std::size_t TEMPORARY_MARK_LENGTH = sizeof TEMPORARY_MARK - 1;
constexpr std::size_t TEMPORARY_RANDOM_LENGTH = 6;  // mkstemp's XXXXXX

SavePointHook savePointHook = nullptr;

// Permissions of a new file as open(2) would give them, or the old file's.
mode_t permissionsFor(const std::string& path) {
    struct stat existing;
    if (::stat(path.c_str(), &existing) == 0) return existing.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool writeAll(int fd, const char* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, bytes, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string baseNameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Creates an empty temporary beside `path`; the descriptor, or -1.
int createTemporary(const std::string& path, std::string& temporaryPath) {
    std::string pattern = path + TEMPORARY_MARK + std::string(TEMPORARY_RANDOM_LENGTH, 'X');
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd >= 0) temporaryPath = name.data();
    return fd;
}

}  // namespace

// Failure here loses nothing: the rename itself has happened.
void syncFolderOf(const std::string& path) {
    const int fd = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

void setSavePointHook(SavePointHook hook) { savePointHook = hook; }

void passSavePoint() {
    if (savePointHook != nullptr) savePointHook();
}

bool isTemporaryFileName(const std::string& name) {
    const std::size_t suffix = TEMPORARY_MARK_LENGTH + TEMPORARY_RANDOM_LENGTH;
    if (name.size() <= suffix) return false;
    const std::size_t mark = name.size() - suffix;
    if (name.compare(mark, TEMPORARY_MARK_LENGTH, TEMPORARY_MARK) != 0) return false;
    for (std::size_t i = mark + TEMPORARY_MARK_LENGTH; i < name.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(name[i]))) return false;
    return true;
}

void removeLeftoverTemporaries(const std::string& path) {
    const std::string folder = folderOf(path);
    const std::string base = baseNameOf(path);
    DIR* directory = ::opendir(folder.c_str());
    if (directory == nullptr) return;
    std::vector<std::string> leftovers;
    // Not those of a file whose name starts with this one's.
    while (dirent* item = ::readdir(directory))
        if (fileOfTemporary(item->d_name) == base) leftovers.push_back(folder + "/" + item->d_name);
    ::closedir(directory);
    for (const std::string& leftover : leftovers) {
        struct stat info;
        if (::lstat(leftover.c_str(), &info) == 0 && S_ISREG(info.st_mode)) ::unlink(leftover.c_str());
    }
}

std::string fileOfTemporary(const std::string& name) {
    if (!isTemporaryFileName(name)) return std::string();
    return name.substr(0, name.size() - TEMPORARY_MARK_LENGTH - TEMPORARY_RANDOM_LENGTH);
}

int writeFileAtomically(const std::string& path, const void* data, std::size_t size) {
    removeLeftoverTemporaries(path);
    std::string temporaryPath;
    const int fd = createTemporary(path, temporaryPath);
    if (fd < 0) return -1;
    const char* temporary = temporaryPath.c_str();
    passSavePoint();

    bool ok = ::fchmod(fd, permissionsFor(path)) == 0;
    ok = ok && writeAll(fd, static_cast<const char*>(data), size);
    if (ok) passSavePoint();
    ok = ok && ::fsync(fd) == 0;
    int savedErrno = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        savedErrno = errno;
    }
    if (ok) passSavePoint();
    if (ok && std::rename(temporary, path.c_str()) != 0) {
        ok = false;
        savedErrno = errno;
    }
    if (!ok) {
        ::unlink(temporary);
        errno = savedErrno;
        return -1;
    }
    passSavePoint();
    syncFolderOf(path);
    return 0;
}

int writeFileAtomically(const std::string& path, const std::string& contents) {
    return writeFileAtomically(path, contents.data(), contents.size());
}
