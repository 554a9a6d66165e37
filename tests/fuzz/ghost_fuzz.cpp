// libFuzzer target: any bytes as a level's .gho ghost. A ghost that loads is
// replayed as a run would replay it, every interpolated position lying
// between its two samples; the run recorded alongside is saved and read
// again to the same samples.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "modes/timeattack/ghost.h"
#include "modes/timeattack/ghost_file.h"

namespace {

// Long ghosts are replayed only this far: the interpolation is the same on
// every sample, and a short run keeps the fuzzer fast.
constexpr int MAX_REPLAY_SAMPLES = 400;

void require(bool condition) {
    if (!condition) std::abort();
}

bool within(int32_t value, int32_t a, int32_t b) { return value >= std::min(a, b) && value <= std::max(a, b); }

bool between(const GhostSample& p, const GhostSample& a, const GhostSample& b) {
    return within(p.x, a.x, b.x) && within(p.y, a.y, b.y) && within(p.z, a.z, b.z);
}

bool same(const GhostSample& a, const GhostSample& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

// The time-attack step's share of the ghost: the counter rises on every step
// after the start, the replay moves and every sixth step records the craft,
// which drives the ghost's own path.
void replayAndRecord(Ghost& g, const std::vector<GhostSample>& path) {
    Craft craft;
    craft.x = path[0].x;
    craft.ypos = path[0].y;
    craft.z = path[0].z;
    startRecording(g, craft);
    g.stepCounter = 0;
    recordAndReplay(g, craft, 0);
    require(same(g.position, path[0]) && same(g.previousPosition, path[0]));
    const int samples = std::min<int>(int(path.size()), MAX_REPLAY_SAMPLES);
    for (int step = 0; step < samples * GHOST_STEPS_PER_SAMPLE + 12; ++step) {
        g.stepCounter += 1;
        const size_t leaving = size_t(g.sampleIndex);
        const GhostSample before = g.position;
        const GhostSample& target = path[std::min(leaving + 1, path.size() - 1)];
        craft.x = target.x;
        craft.ypos = target.y;
        craft.z = target.z;
        recordAndReplay(g, craft, 2);
        if (leaving + 1 < g.samples.size())
            require(between(g.position, g.samples[leaving], g.samples[leaving + 1]) && same(g.previousPosition, before));
        else
            require(same(g.position, before));  // run out: the ghost stays put
    }
    // The craft drove the ghost's own path, so the recording is that path.
    for (int k = 0; k <= g.sampleIndex && k < samples; ++k) require(same(g.recording[size_t(k)], path[size_t(k)]));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // What loadGhost does with the file's bytes.
    Ghost g;
    g.loaded = readGhostBytes(std::vector<uint8_t>(data, data + size), g.samples);
    if (!g.loaded) {
        require(g.samples.empty());
        return 0;
    }
    require(!g.samples.empty() && 4 + 12 * g.samples.size() <= size);
    const std::vector<GhostSample> path = g.samples;
    replayAndRecord(g, path);

    // The recording is saved and read back as the next run's ghost.
    // What saveGhost writes, read back as the next run's ghost.
    const std::vector<uint8_t> saved = ghostFileBytes(g.recording, size_t(g.sampleIndex) + 1);
    Ghost next;
    next.loaded = readGhostBytes(saved, next.samples);
    const size_t count = std::min(size_t(g.sampleIndex) + 1, g.recording.size());
    require(next.loaded && next.samples.size() == count && saved.size() == 4 + 12 * count);
    for (size_t k = 0; k < count; ++k) require(same(next.samples[k], g.recording[k]));
    releaseGhost(g);
    return 0;
}
