#pragma once

// The figures the frame benchmarks record, and the frame-time targets,
// stated as ratios between frames of the same run (so the machine's load
// cancels) or as a bound on one frame's 95th percentile. Printed after the
// benchmarks have run. A new frame (the single-player state, another mode)
// records itself under a name and gets a line in the target table.

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

struct FrameTarget {
    const char* description;
    const char* frame;
    const char* against;  // nullptr: the limit bounds the frame's 95th percentile in ms
    double limit;
};

inline void printFrameTargets(const FrameTarget* targets, int count) {
    const auto& frames = recordedFrames();
    std::printf("\nFrame-time targets (wall-clock medians of this run; cpu: all threads' time per frame)\n");
    for (int i = 0; i < count; ++i) {
        const FrameTarget& t = targets[i];
        const auto frame = frames.find(t.frame);
        const auto against = t.against ? frames.find(t.against) : frames.end();
        if (frame == frames.end() || (t.against && against == frames.end())) {
            std::printf("  %-52s not run\n", t.description);
            continue;
        }
        const FrameFigures& f = frame->second;
        if (!t.against) {
            std::printf("  %-52s %7.2f ms              limit %5.1f ms  %s\n", t.description, f.p95Ms, t.limit,
                        f.p95Ms < t.limit ? "met" : "MISSED");
            continue;
        }
        const FrameFigures& a = against->second;
        const double ratio = f.medianMs / a.medianMs;
        const double cpuRatio = f.cpuMsPerFrame / a.cpuMsPerFrame;
        std::printf("  %-52s %7.2f (cpu %5.2f)     limit %5.2f     %s\n", t.description, ratio, cpuRatio, t.limit,
                    ratio <= t.limit ? "met" : "MISSED");
    }
    std::printf("\nFrames (median / 95th percentile / cpu per frame, ms)\n");
    for (const auto& entry : frames)
        std::printf("  %-28s %7.2f %7.2f %7.2f\n", entry.first.c_str(), entry.second.medianMs, entry.second.p95Ms,
                    entry.second.cpuMsPerFrame);
}
