#pragma once

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <csignal>
#include <functional>

#include "core/atomic_file.h"

// Runs `body` in a forked child, which ends with _exit(0) unless `body`
// ends it first (_exit: no atexit handlers, no stream flushed twice). False
// (with a test failure) when there was no child to wait for.
inline bool childEnded(const std::function<void()>& body, int& status) {
    const pid_t child = fork();
    if (child < 0) {
        ADD_FAILURE() << "fork failed";
        return false;
    }
    if (child == 0) {
        body();
        _exit(0);
    }
    return waitpid(child, &status, 0) == child;
}

// Limits the files of the calling (child) process to `maxBytes`.
inline void limitFileSize(rlim_t maxBytes) {
    rlimit limit{maxBytes, maxBytes};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(3);
}

// A real short write, even as root (who ignores folder permissions): `save`
// runs in a forked child whose files may grow to at most `maxBytes`. SIGXFSZ
// is ignored there, so a write past the limit fails with EFBIG instead of
// killing the child. Returns 0 or -1 as `save` returned them, 1 for any other
// value, and INT_MIN (with a test failure) when the child did not exit.
inline int saveResultWithFileSizeLimit(rlim_t maxBytes, const std::function<int()>& save) {
    int status = 0;
    const bool ended = childEnded([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        limitFileSize(maxBytes);
        const int result = save();
        _exit(result == 0 ? 0 : result == -1 ? 1 : 2);
    }, status);
    if (!ended || !WIFEXITED(status)) {
        ADD_FAILURE() << "the saving child did not exit normally";
        return INT_MIN;
    }
    switch (WEXITSTATUS(status)) {
        case 0: return 0;
        case 1: return -1;
        case 2: return 1;
        default:
            ADD_FAILURE() << "the file size limit could not be set";
            return INT_MIN;
    }
}

// A crash in the middle of a write, as a file-size limit without the game's
// SIGXFSZ handling gives it: `write` runs in a forked child that the limit
// kills once a file grows past `maxBytes`. True when it died that way.
inline bool killedBySizeLimitWhile(rlim_t maxBytes, const std::function<void()>& write) {
    int status = 0;
    const bool ended = childEnded([&] {
        std::signal(SIGXFSZ, SIG_DFL);  // an ignored signal would stay ignored from the test runner
        limitFileSize(maxBytes);
        write();
    }, status);
    return ended && WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ;
}

// A kill (SIGKILL, as a crash or a power cut stops the game) at the
// `point`-th save point that `save` passes (core/atomic_file.h), in a forked
// child. False when `save` finished before reaching that point.
inline bool killedAtSavePoint(int point, const std::function<void()>& save) {
    static int pointsLeft;
    pointsLeft = point;
    int status = 0;
    const bool ended = childEnded([&] {
        setSavePointHook([] {
            if (--pointsLeft == 0) raise(SIGKILL);
        });
        save();
    }, status);
    return ended && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}
