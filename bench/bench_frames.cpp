// Frame time of a single-player frame at 1024 x 768: a reference level with
// a few hundred blocks in view, the player's craft, two more crafts, shadows
// and halos; of the time-attack state's own frame on the same level; of a
// split-screen race frame (two half-window views); and of a bare frame that
// only clears and swaps. Every frame goes through renderFrame, so Details 3
// adds the glow pass, the blur and the bloom composite. Run under Xvfb from
// the runtime directory (it uses gfx/ when present and needs shaders/ for
// Details 3):
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/bench_frames
// Each benchmark reports the median and 95th percentile of its frames; the
// end of the run prints the targets as ratios between frames of the run.
#include <benchmark/benchmark.h>

#include <GL/gl.h>
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "app/render_frame.h"
#include "core/gamestate.h"
#include "core/globals.h"
#include "core/settings.h"
#include "modes/single/single.h"
#include "modes/timeattack/time_attack.h"
#include "render/block_cache.h"
#include "render/camera.h"
#include "render/objects.h"
#include "render/textures.h"
#include "render/track.h"
#include "support/gl_context.h"
#include "support/glow_setup.h"
#include "support/scene_blocks.h"

#include "frame_report.h"

namespace {

// As makeBlock, but with the texture repeated every 600 units along the
// width and the length.
Block block(int type, int x, int y, int z, int width, int height, int length) {
    Block b = makeBlock(x, y, z, width, height, length, type);
    b.body.texRepeatX = std::max(1, width / 600);
    b.body.texRepeatZ = std::max(1, length / 600);
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
    std::vector<Block>& blocks = level.blocks.editAll();
    std::stable_sort(blocks.begin(), blocks.end(),
                     [](const Block& a, const Block& b) { return a.body.z < b.body.z; });
    return level;
}

struct Fixture;

// The single-player frame order as a state, so renderFrame draws it once per
// pass; `mark` is called after each part. As in the play states, the
// backdrop is drawn behind the track (filling only what the blocks leave
// empty); backdropFirst draws it first, over the whole window, as the game
// once did.
class ReferenceScene : public Gamestate {
public:
    explicit ReferenceScene(Fixture& fixture) : fixture_(fixture) {}
    void enter() override {}
    int handleEvent(SDL_Event, SDL_keysym) override { return 0; }
    void update(int) override {}
    void draw() override;

    std::function<void(int)> mark = [](int) {};
    bool backdropFirst = false;

private:
    Fixture& fixture_;
};

// The split-screen order of a race frame: craft A's view in the lower half,
// craft B's in the upper half, each with its own projection, backdrop,
// track pass, both crafts, their shadows and (outside the glow pass) halos.
class SplitReferenceScene : public Gamestate {
public:
    explicit SplitReferenceScene(Fixture& fixture) : fixture_(fixture) {}
    void enter() override {}
    int handleEvent(SDL_Event, SDL_keysym) override { return 0; }
    void update(int) override {}
    void draw() override;

private:
    void drawView(Craft& viewer, SplitPlayer player);
    Fixture& fixture_;
};

// Nothing but renderFrame's clear and swap.
class EmptyState : public Gamestate {
public:
    void enter() override {}
    int handleEvent(SDL_Event, SDL_keysym) override { return 0; }
    void update(int) override {}
    void draw() override {}
};

constexpr int RACE_BACKDROP_SLOT = 35;

struct Fixture {
    GlContext* gl = nullptr;
    bool glowReady = false;
    Level level;
    Craft player, pusher, ghostLike;
    ReferenceScene scene{*this};
    SplitReferenceScene splitScene{*this};
    EmptyState empty;
    Craft racerA, racerB;
    TimeAttack timeAttack;
    Single single;

    Fixture() {
        gl = &sharedGlContext();
        if (!gl->ok()) return;
        settings.style = 0;
        settings.mipmaps = 1;
        settings.animDivisor = 1;
        settings.bloom = 3;
        listTextureSets();
        if (loadTextures() != 0 || loadFontTexture() != 0) createTestTextures();
        buildSpriteTiles();
        buildCornerTables();
        glowReady = startGlowEffect(256, 256);
        level = referenceLevel();
        player = placed(900, 650, 3000, 1);
        pusher = placed(-800, 650, 9000, 99);
        ghostLike = placed(2500, 650, 14000, 1);
        racerA = placed(900, 650, 3000, 1);
        racerB = placed(-800, 650, 3600, 1);
        timeAttack.run.level = level;
        timeAttack.backgroundIndex = 1;
        single.run.level = level;
        single.run.backgroundIndex = 1;
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

    // One frame of `state` through renderFrame, finished. The camera is
    // placed first, as the play states' update does, so the glow pass sees
    // the window's projection.
    void renderState(Gamestate& state, Craft& viewer, ViewVariant variant) {
        placeCameraAtStart(viewer, variant);
        Gamestate* const saved = currentState;
        currentState = &state;
        renderFrame();
        glFinish();
        currentState = saved;
    }

    template <typename Mark>
    void drawFrame(Mark mark, bool backdropFirst = false) {
        scene.mark = mark;
        scene.backdropFirst = backdropFirst;
        renderState(scene, player, ViewVariant::Single);
        mark(5);
        scene.mark = [](int) {};
    }
    void drawFrame(bool backdropFirst = false) {
        drawFrame([](int) {}, backdropFirst);
    }

    // The time-attack state's own draw: the same level and craft, its halo
    // colours, the timer, no ghost.
    void drawTimeAttackFrame() {
        timeAttack.run.craft = player;
        renderState(timeAttack, timeAttack.run.craft, ViewVariant::TimeAttack);
    }

    // The single-player state's own draw: the same level and craft, its
    // status panel and clock; no computer crafts running.
    void drawSingleFrame() {
        single.run.craft = player;
        renderState(single, single.run.craft, ViewVariant::Single);
    }

    void drawSplitFrame() {
        placeCameraAtStart(racerB, ViewVariant::Split);
        renderState(splitScene, racerA, ViewVariant::Split);
    }

    void drawBareFrame() { renderState(empty, player, ViewVariant::Single); }
};

void SplitReferenceScene::drawView(Craft& viewer, SplitPlayer player) {
    Fixture& f = fixture_;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    setViewAngle(viewer, BASE_VIEW_ANGLE + float(viewer.f_speed) / 8.0f, false, ViewVariant::Split);
    glLoadIdentity();
    applyCamera(viewer);
    setSplitViewport(player);
    TrackBackdrop backdrop(RACE_BACKDROP_SLOT, true, true);
    drawSplitTrack(f.level, viewer, 1, SplitTrackOptions());
    backdrop.behindTrack();
    drawCraftRecord(f.racerA);
    drawCraftRecord(f.racerB);
    drawSplitShadows(f.racerA, f.racerB);
    if (settings.glow && !glowPass) drawSplitHalos(f.level, viewer.camZ, 1, HALO_SPLIT);
}

void SplitReferenceScene::draw() {
    drawView(fixture_.racerA, SPLIT_PLAYER_A);
    drawView(fixture_.racerB, SPLIT_PLAYER_B);
    setWholeViewport();
}

void ReferenceScene::draw() {
    Fixture& f = fixture_;
    applyCamera(f.player);
    if (backdropFirst) drawBackdrop(BACKDROP_SLOTS[1], false);
    mark(0);
    drawTrack(f.level, f.player.z);
    if (!backdropFirst) drawBackdropBehind(BACKDROP_SLOTS[1], false);
    mark(1);
    drawCraftRecord(f.player);
    drawCraftRecord(f.pusher);
    drawCraftRecord(f.ghostLike);
    mark(2);
    const Craft* crafts[] = {&f.player, &f.pusher, &f.ghostLike};
    drawShadows(f.level, crafts, 3, f.player.z);
    mark(3);
    drawHalos(f.level, f.player.z, HALO_SINGLE);
    drawCraftTrail(f.player);
    drawBlockItems(f.level, f.player, true, true);
    mark(4);
}

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

bool frameSettings(benchmark::State& state, Fixture& f, int details, int shadows) {
    if (!f.gl->ok()) {
        state.SkipWithError("no GL window (run under Xvfb)");
        return false;
    }
    if (details == 3 && !f.glowReady) {
        state.SkipWithError("glow effect did not start (run from the runtime directory)");
        return false;
    }
    settings.details = details;
    settings.shadows = shadows;
    settings.drawDist = 200000;
    settings.shadowDist = 50000;
    settings.glow = 1;
    settings.speed = 1;
    return true;
}

// Times each call of `frame` (three unmeasured first) and reports the
// median and 95th percentile frame and the CPU time per frame; a named
// frame is kept for the targets printed at the end.
void timeFrames(benchmark::State& state, const std::function<void()>& frame, const std::string& name = "") {
    for (int warm = 0; warm < 3; ++warm) frame();
    std::vector<double> frameMs;
    const double cpuStart = processCpuMs();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        frame();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        frameMs.push_back(took.count() * 1000.0);
    }
    FrameFigures figures;
    figures.medianMs = percentile(frameMs, 0.5);
    figures.p95Ms = percentile(frameMs, 0.95);
    figures.cpuMsPerFrame = (processCpuMs() - cpuStart) / double(frameMs.size());
    state.counters["median_ms"] = figures.medianMs;
    state.counters["p95_ms"] = figures.p95Ms;
    state.counters["cpu_ms_per_frame"] = figures.cpuMsPerFrame;
    if (!name.empty()) recordFrame(name, figures);
}

std::string frameName(const char* kind, int details, int shadows) {
    return std::string(kind) + " details " + std::to_string(details) + (shadows ? " shadows" : "");
}

// Arguments: Details, Shadows, compiled block bodies, backdrop drawn first
// (over the whole window) instead of behind the track.
void BM_Frame(benchmark::State& state) {
    Fixture& f = fixture();
    if (!frameSettings(state, f, int(state.range(0)), int(state.range(1)))) return;
    setBlockCacheEnabled(state.range(2) != 0);
    const bool first = state.range(3) != 0;
    const bool usual = state.range(2) != 0 && !first;
    timeFrames(state, [&] { f.drawFrame(first); },
               usual ? frameName("reference", int(state.range(0)), int(state.range(1))) : "");
    setBlockCacheEnabled(true);
}

// Arguments: Details, Shadows.
void BM_TimeAttackFrame(benchmark::State& state) {
    Fixture& f = fixture();
    if (!frameSettings(state, f, int(state.range(0)), int(state.range(1)))) return;
    timeFrames(state, [&] { f.drawTimeAttackFrame(); }, frameName("time attack", int(state.range(0)), int(state.range(1))));
}

// Arguments: Details, Shadows.
void BM_SingleFrame(benchmark::State& state) {
    Fixture& f = fixture();
    if (!frameSettings(state, f, int(state.range(0)), int(state.range(1)))) return;
    timeFrames(state, [&] { f.drawSingleFrame(); }, frameName("single player", int(state.range(0)), int(state.range(1))));
}

// Arguments: Details, Shadows.
void BM_SplitFrame(benchmark::State& state) {
    Fixture& f = fixture();
    if (!frameSettings(state, f, int(state.range(0)), int(state.range(1)))) return;
    timeFrames(state, [&] { f.drawSplitFrame(); }, frameName("split screen", int(state.range(0)), int(state.range(1))));
}

// A frame that draws nothing: what clearing and swapping alone cost.
void BM_BareFrame(benchmark::State& state) {
    Fixture& f = fixture();
    if (!frameSettings(state, f, 2, 0)) return;
    timeFrames(state, [&] { f.drawBareFrame(); }, "bare");
}

// Where the time of a Details 2 frame with shadows goes (glFinish after
// each part, so the parts add up to more than a frame): wall-clock medians
// and, less disturbed by a busy machine, the CPU time of all threads.
void BM_FrameParts(benchmark::State& state) {
    Fixture& f = fixture();
    if (!frameSettings(state, f, 2, 1)) return;
    static const char* const names[6] = {"clear", "track_backdrop", "crafts", "shadows", "halos_items", "swap"};
    std::vector<double> partMs[6];
    double partCpuMs[6] = {};
    for (auto _ : state) {
        auto last = std::chrono::steady_clock::now();
        double lastCpu = processCpuMs();
        const auto start = last;
        f.drawFrame([&](int part) {
            glFinish();
            const auto now = std::chrono::steady_clock::now();
            const double cpu = processCpuMs();
            partMs[part].push_back(std::chrono::duration<double, std::milli>(now - last).count());
            partCpuMs[part] += cpu - lastCpu;
            last = now;
            lastCpu = cpu;
        });
        state.SetIterationTime(std::chrono::duration<double>(last - start).count());
    }
    for (int part = 0; part < 6; ++part) {
        state.counters[std::string(names[part]) + "_ms"] = percentile(partMs[part], 0.5);
        state.counters[std::string(names[part]) + "_cpu"] = partCpuMs[part] / double(partMs[part].size());
    }
}
BENCHMARK(BM_FrameParts)->Iterations(30)->UseManualTime()->Unit(benchmark::kMillisecond);

void frameArguments(benchmark::internal::Benchmark* b) {
    for (int details = 0; details <= 3; ++details)
        for (int shadows = 0; shadows <= 1; ++shadows) b->Args({details, shadows, 1, 0});
    // Immediate mode for every block body, and the backdrop drawn first.
    b->Args({2, 1, 0, 0});
    b->Args({2, 1, 1, 1});
    b->Args({3, 1, 1, 1});
}

BENCHMARK(BM_Frame)->Apply(frameArguments)->ArgNames({"details", "shadows", "cached", "first"})->Iterations(60)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK(BM_TimeAttackFrame)
    ->ArgsProduct({{2, 3}, {0, 1}})
    ->ArgNames({"details", "shadows"})
    ->Iterations(60)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK(BM_SingleFrame)
    ->ArgsProduct({{2}, {1}})
    ->ArgNames({"details", "shadows"})
    ->Iterations(60)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK(BM_SplitFrame)
    ->ArgsProduct({{2, 3}, {1}})
    ->ArgNames({"details", "shadows"})
    ->Iterations(60)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK(BM_BareFrame)->Iterations(60)->UseManualTime()->Unit(benchmark::kMillisecond);

// The frame-time targets.
const FrameTarget FRAME_TARGETS[] = {
    {"Details 3 / Details 2 (shadows on)", "reference details 3 shadows", "reference details 2 shadows", 1.3},
    {"Details 3 (shadows on), 95th percentile", "reference details 3 shadows", nullptr, 21.0},
    {"Details 2 (shadows on) / bare frame", "reference details 2 shadows", "bare", 6.0},
    {"split screen / time attack (Details 2, shadows)", "split screen details 2 shadows",
     "time attack details 2 shadows", 1.2},
    {"single player / time attack (Details 2, shadows)", "single player details 2 shadows",
     "time attack details 2 shadows", 1.2},
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printFrameTargets(FRAME_TARGETS, int(sizeof FRAME_TARGETS / sizeof FRAME_TARGETS[0]));
    return 0;
}
