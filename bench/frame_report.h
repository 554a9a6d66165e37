#pragma once

// The figures the frame benchmarks record, and the targets, stated as
// ratios between frames of the same run (so the machine's load cancels), as
// a bound on one frame's 95th percentile, or as a bound on a recorded figure
// (depth complexity, start-up time). Printed after the benchmarks have run.
// A new frame (the single-player state, another mode) records itself under
// a name and gets a line in the target table.

#include <cstdio>
#include <map>
#include <string>

struct FrameFigures {
    double medianMs = 0;
    double p95Ms = 0;
    double cpuMsPerFrame = 0;  // all threads: the main thread and the rasterizer's
};

inline std::map<std::string, FrameFigures>& recordedFrames() {
    static std::map<std::string, FrameFigures> frames;
    return frames;
}

inline void recordFrame(const std::string& name, const FrameFigures& figures) {
    recordedFrames()[name] = figures;
}

// Figures that are not frame times: fragments per pixel, start-up time.
inline std::map<std::string, double>& recordedFigures() {
    static std::map<std::string, double> figures;
    return figures;
}

inline void recordFigure(const std::string& name, double value) { recordedFigures()[name] = value; }

enum class TargetKind {
    Ratio,        // median of `frame` / median of `against` at most `limit`
    Percentile95, // 95th percentile of `frame` under `limit` ms
    Figure,       // recorded figure `frame` at most `limit`
};

struct FrameTarget {
    const char* description;
    TargetKind kind;
    const char* frame;
    const char* against;  // Ratio only
    double limit;
    const char* unit = "";
};

// What a target line shows: the value, and whether it was met; `run` is
// false when a figure it needs was not recorded (its benchmark skipped).
struct TargetResult {
    bool run = false;
    double value = 0;
    double cpuRatio = 0;
    bool met = false;
};

inline TargetResult evaluateTarget(const FrameTarget& t) {
    TargetResult r;
    if (t.kind == TargetKind::Figure) {
        const auto figure = recordedFigures().find(t.frame);
        if (figure == recordedFigures().end()) return r;
        r = {true, figure->second, 0, figure->second <= t.limit};
        return r;
    }
    const auto& frames = recordedFrames();
    const auto frame = frames.find(t.frame);
    if (frame == frames.end()) return r;
    if (t.kind == TargetKind::Percentile95) {
        r = {true, frame->second.p95Ms, 0, frame->second.p95Ms < t.limit};
        return r;
    }
    const auto against = frames.find(t.against);
    if (against == frames.end()) return r;
    const double ratio = frame->second.medianMs / against->second.medianMs;
    r = {true, ratio, frame->second.cpuMsPerFrame / against->second.cpuMsPerFrame, ratio <= t.limit};
    return r;
}

inline void printTargetLine(const FrameTarget& t, const TargetResult& r) {
    if (!r.run) {
        std::printf("  %-56s not run\n", t.description);
        return;
    }
    const char* verdict = r.met ? "met" : "MISSED";
    if (t.kind == TargetKind::Ratio)
        std::printf("  %-56s %8.2f (cpu %5.2f)  limit %6.2f     %s\n", t.description, r.value, r.cpuRatio, t.limit,
                    verdict);
    else if (t.kind == TargetKind::Percentile95)
        std::printf("  %-56s %8.2f ms           limit %6.1f ms  %s\n", t.description, r.value, t.limit, verdict);
    else
        std::printf("  %-56s %8.2f %-12s limit %6.2f %-3s %s\n", t.description, r.value, t.unit, t.limit, t.unit,
                    verdict);
}

// A bound, or failing that a ratio: one target met by either line.
struct AlternativeTarget {
    const char* description;
    FrameTarget first;
    FrameTarget otherwise;
};

// Prints every target with met or MISSED, then the recorded frames and
// figures.
inline void printFrameTargets(const FrameTarget* targets, int count, const AlternativeTarget* alternatives,
                              int alternativeCount) {
    std::printf("\nTargets (wall-clock medians and 95th percentiles of this run; cpu: all threads' time per "
                "frame)\n");
    for (int i = 0; i < count; ++i) printTargetLine(targets[i], evaluateTarget(targets[i]));
    for (int i = 0; i < alternativeCount; ++i) {
        const AlternativeTarget& a = alternatives[i];
        const TargetResult first = evaluateTarget(a.first);
        const TargetResult otherwise = evaluateTarget(a.otherwise);
        printTargetLine(a.first, first);
        printTargetLine(a.otherwise, otherwise);
        const char* how = first.met ? "met by the first line" : otherwise.met ? "met by the second line" : "MISSED";
        std::printf("  %-56s %s\n", a.description, first.run || otherwise.run ? how : "not run");
    }
    std::printf("\nFrames (median / 95th percentile / cpu per frame, ms)\n");
    for (const auto& entry : recordedFrames())
        std::printf("  %-32s %7.2f %7.2f %7.2f\n", entry.first.c_str(), entry.second.medianMs, entry.second.p95Ms,
                    entry.second.cpuMsPerFrame);
    if (recordedFigures().empty()) return;
    std::printf("\nFigures\n");
    for (const auto& entry : recordedFigures())
        std::printf("  %-56s %9.3f\n", entry.first.c_str(), entry.second);
}
