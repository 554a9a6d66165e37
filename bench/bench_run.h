#pragma once

// Runs the benchmarks the command line selected with the usual console
// output, and fails the program when one of them could not run (skipped
// with an error: no window, no game to start), so `make bench` never passes
// with figures missing.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

class CountingReporter : public benchmark::ConsoleReporter {
public:
    // Colours on a terminal only, as the library's own reporter does.
    CountingReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.error_occurred) ++notRun;
        ConsoleReporter::ReportRuns(runs);
    }
    int notRun = 0;
};

// After benchmark::Initialize: runs them and shuts the library down;
// returns how many could not run.
inline int runSelectedBenchmarks() {
    CountingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.notRun;
}

// The program's exit status, saying why it fails.
inline int benchmarkExitStatus(int notRun) {
    if (notRun == 0) return 0;
    std::fprintf(stderr, "%d benchmark%s could not run\n", notRun, notRun == 1 ? "" : "s");
    return 1;
}
