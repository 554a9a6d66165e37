// Frame time of a single-player frame at 1024 x 768: a reference level with
// a few hundred blocks in view, the player's craft, two more crafts, shadows
// and halos. Run under Xvfb from the runtime directory (it uses gfx/ when
// present):
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/bench_frames
// Each benchmark reports the median and 95th percentile of its frames.
#include <benchmark/benchmark.h>

#include <GL/gl.h>
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <vector>

#include "core/globals.h"
#include "core/settings.h"
#include "core/textures.h"
#include "render/block_cache.h"
#include "render/camera.h"
#include "render/objects.h"
#include "render/track.h"
#include "support/gl_context.h"

namespace {

Block block(int type, int x, int y, int z, int width, int height, int length) {
    Block b;
    b.type = type;
    b.body.x = x; b.body.y = y; b.body.z = z;
    b.body.width = width; b.body.height = height; b.body.length = length;
    b.body.texRepeatX = std::max(1, width / 600);
    b.body.texRepeatY = 1;
    b.body.texRepeatZ = std::max(1, length / 600);
    const BlockTextures slots = defaultBlockTextures(type);
    b.body.sideTexture = slots.side;
    b.body.topTexture = slots.top;
    return b;
}

// Three lanes of blocks over 200000 units with gaps, steps, raised slabs
// over the middle lane and every block type; about 300 blocks lie within
// the draw distance of the start.
Level referenceLevel() {
    Level level;
    for (int row = 0; row < 110; ++row) {
        const int z = row * 1800;
        for (int lane = 0; lane < 3; ++lane) {
            const int type = (row * 3 + lane) % 7 == 0 ? (row + lane) % BLOCK_TYPE_COUNT : BLOCK_PLAIN;
            const int height = 500 + ((row + lane) % 3) * 200;
            level.blocks.push_back(block(type, 2500 - lane * 1700, ((row / 8) % 3) * 150, z, 1500, height, 1500));
        }
        if (row % 6 == 3) level.blocks.push_back(block(BLOCK_PLAIN, 900, 1400, z + 200, 1800, 300, 1200));
    }
    std::stable_sort(level.blocks.begin(), level.blocks.end(),
                     [](const Block& a, const Block& b) { return a.body.z < b.body.z; });
    return level;
}

struct Fixture {
    GlContext* gl = nullptr;
    Level level;
    Craft player, pusher, ghostLike;

    Fixture() {
        gl = &sharedGlContext();
        if (!gl->ok()) return;
        settings.style = 0;
        settings.mipmaps = 1;
        settings.animDivisor = 1;
        listTextureSets();
        if (loadTextures() != 0 || loadFontTexture() != 0) createTestTextures();
        buildSpriteTiles();
        buildCornerTables();
        level = referenceLevel();
        player = placed(900, 650, 3000, 1);
        pusher = placed(-800, 650, 9000, 99);
        ghostLike = placed(2500, 650, 14000, 1);
    }

    static Craft placed(int x, int y, int z, int kind) {
        Craft craft;
        craft.x = x; craft.ypos = y; craft.z = z;
        craft.prevX = x; craft.prevY = y; craft.prevZ = z - 150;
        craft.f_speed = 150;
        craft.kind = kind;
        craft.health = 70;
        return craft;
    }

    // The single-player frame order; `mark` is called after each part.
    // backdropBehind: the opt-in drawBackdropBehind after the track pass.
    template <typename Mark>
    void drawFrame(Mark mark, bool backdropBehind = false) {
        gl->beginFrame();
        placeCameraAtStart(player, ViewVariant::Single);
        applyCamera(player);
        if (!backdropBehind) drawBackdrop(BACKDROP_SLOTS[1], false);
        mark(0);
        drawTrack(level, player.z);
        if (backdropBehind) drawBackdropBehind(BACKDROP_SLOTS[1], false);
        mark(1);
        drawCraftRecord(player);
        drawCraftRecord(pusher);
        drawCraftRecord(ghostLike);
        mark(2);
        const Craft* crafts[] = {&player, &pusher, &ghostLike};
        drawShadows(level, crafts, 3, player.z);
        mark(3);
        drawHalos(level, player.z, HALO_SINGLE);
        drawCraftTrail(player);
        drawBlockItems(level, player, true, true);
        mark(4);
        gl->swap();
        glFinish();
        mark(5);
    }
    void drawFrame(bool backdropBehind = false) {
        drawFrame([](int) {}, backdropBehind);
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

// CPU time of all threads (the main thread and llvmpipe's rasterizer
// threads): unlike the wall time it hardly depends on what else the machine
// runs, and on an idle 2-core machine a frame takes about half of it.
double processCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
}

double percentile(std::vector<double> samples, double p) {
    std::sort(samples.begin(), samples.end());
    const size_t index = std::min(samples.size() - 1, size_t(p * double(samples.size() - 1) + 0.5));
    return samples[index];
}

// Arguments: Details, Shadows, compiled block bodies, backdrop behind the
// track.
void BM_Frame(benchmark::State& state) {
    Fixture& f = fixture();
    if (!f.gl->ok()) {
        state.SkipWithError("no GL window (run under Xvfb)");
        return;
    }
    settings.details = int(state.range(0));
    settings.shadows = int(state.range(1));
    settings.drawDist = 200000;
    settings.shadowDist = 50000;
    settings.glow = 1;
    settings.speed = 1;
    setBlockCacheEnabled(state.range(2) != 0);
    const bool behind = state.range(3) != 0;
    for (int warm = 0; warm < 3; ++warm) f.drawFrame(behind);
    std::vector<double> frameMs;
    const double cpuStart = processCpuMs();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        f.drawFrame(behind);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        frameMs.push_back(took.count() * 1000.0);
    }
    state.counters["median_ms"] = percentile(frameMs, 0.5);
    state.counters["p95_ms"] = percentile(frameMs, 0.95);
    state.counters["cpu_ms_per_frame"] = (processCpuMs() - cpuStart) / double(frameMs.size());
    setBlockCacheEnabled(true);
}

// Where the time of a Details 2 frame with shadows goes (glFinish after
// each part, so the parts add up to more than a frame).
void BM_FrameParts(benchmark::State& state) {
    Fixture& f = fixture();
    if (!f.gl->ok()) {
        state.SkipWithError("no GL window (run under Xvfb)");
        return;
    }
    settings.details = 2;
    settings.shadows = 1;
    settings.drawDist = 200000;
    settings.shadowDist = 50000;
    settings.glow = 1;
    static const char* const names[6] = {"backdrop_ms", "track_ms", "crafts_ms", "shadows_ms", "halos_items_ms", "swap_ms"};
    std::vector<double> partMs[6];
    for (auto _ : state) {
        auto last = std::chrono::steady_clock::now();
        const auto start = last;
        f.drawFrame([&](int part) {
            glFinish();
            const auto now = std::chrono::steady_clock::now();
            partMs[part].push_back(std::chrono::duration<double, std::milli>(now - last).count());
            last = now;
        });
        state.SetIterationTime(std::chrono::duration<double>(last - start).count());
    }
    for (int part = 0; part < 6; ++part) state.counters[names[part]] = percentile(partMs[part], 0.5);
}
BENCHMARK(BM_FrameParts)->Iterations(30)->UseManualTime()->Unit(benchmark::kMillisecond);

void frameArguments(benchmark::internal::Benchmark* b) {
    for (int details = 0; details <= 2; ++details)
        for (int shadows = 0; shadows <= 1; ++shadows) b->Args({details, shadows, 1, 0});
    // Immediate mode for every block body, and the backdrop drawn behind.
    b->Args({2, 1, 0, 0});
    b->Args({2, 1, 1, 1});
}

BENCHMARK(BM_Frame)->Apply(frameArguments)->ArgNames({"details", "shadows", "cached", "behind"})->Iterations(60)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
