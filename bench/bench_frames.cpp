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
// Two more figures: the depth complexity of the reference scene (fragments
// that pass the depth and stencil tests in a pass, counted by occlusion
// queries, per pixel of that pass's target) and the start-up time of the
// game itself (./tavrelo beside the data) to its first menu frame.
#include <benchmark/benchmark.h>

#include <GL/gl.h>
#include <SDL2/SDL.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "app/main_loop.h"

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

#include "bench_run.h"
#include "frame_report.h"

namespace {

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
    int handleEvent(SDL_Event, SDL_Keysym) override { return 0; }
    void update(int) override {}
    void draw() override;

    // Called as draw begins, and after each part with the part's number.
    std::function<void()> begin = [] {};
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
    int handleEvent(SDL_Event, SDL_Keysym) override { return 0; }
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
    int handleEvent(SDL_Event, SDL_Keysym) override { return 0; }
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
        level = referenceTrack();
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
    begin();
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
        state.SkipWithError(("no GL window (run under Xvfb): " + f.gl->error()).c_str());
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

// Two frames timed in turn, A then B, for the ratio targets: both see the
// same moments of a busy machine, so its load cancels in their ratio far
// better than between two benchmarks run a minute apart. `setUpA` and
// `setUpB` set each frame's settings before it is drawn.
struct PairedFrame {
    std::string name;
    std::function<void()> setUp;
    std::function<void()> draw;
};

void timeFramePair(benchmark::State& state, const PairedFrame& a, const PairedFrame& b) {
    for (int warm = 0; warm < 3; ++warm) {
        a.setUp();
        a.draw();
        b.setUp();
        b.draw();
    }
    std::vector<double> frameMs[2];
    double cpuMs[2] = {};
    for (auto _ : state) {
        double took = 0;
        for (int i = 0; i < 2; ++i) {
            const PairedFrame& frame = i == 0 ? a : b;
            frame.setUp();
            const double cpuStart = processCpuMs();
            const auto start = std::chrono::steady_clock::now();
            frame.draw();
            const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            cpuMs[i] += processCpuMs() - cpuStart;
            frameMs[i].push_back(ms);
            took += ms;
        }
        state.SetIterationTime(took / 1000.0);
    }
    for (int i = 0; i < 2; ++i) {
        FrameFigures figures;
        figures.medianMs = percentile(frameMs[i], 0.5);
        figures.p95Ms = percentile(frameMs[i], 0.95);
        figures.cpuMsPerFrame = cpuMs[i] / double(frameMs[i].size());
        recordFrame((i == 0 ? a : b).name, figures);
    }
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

// The split screen and the time-attack frame in turn (Details 2, shadows).
void BM_SplitAgainstTimeAttack(benchmark::State& state) {
    Fixture& f = fixture();
    if (!frameSettings(state, f, 2, 1)) return;
    const auto same = [] {};
    timeFramePair(state, {"paired: split screen details 2 shadows", same, [&] { f.drawSplitFrame(); }},
                  {"paired: time attack details 2 shadows", same, [&] { f.drawTimeAttackFrame(); }});
}
BENCHMARK(BM_SplitAgainstTimeAttack)->Iterations(60)->UseManualTime()->Unit(benchmark::kMillisecond);

// The reference frame at Details 3 and at Details 2 in turn (shadows on).
void BM_Details3AgainstDetails2(benchmark::State& state) {
    Fixture& f = fixture();
    if (!frameSettings(state, f, 3, 1)) return;
    timeFramePair(state, {"paired: reference details 3 shadows", [] { settings.details = 3; }, [&] { f.drawFrame(); }},
                  {"paired: reference details 2 shadows", [] { settings.details = 2; }, [&] { f.drawFrame(); }});
}
BENCHMARK(BM_Details3AgainstDetails2)->Iterations(60)->UseManualTime()->Unit(benchmark::kMillisecond);

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

// Occlusion queries (GL 1.5, or ARB_occlusion_query), looked up at run
// time as the glow effect's entry points are.
struct SampleQueries {
    using Gen = void (*)(GLsizei, GLuint*);
    using Begin = void (*)(GLenum, GLuint);
    using End = void (*)(GLenum);
    using Result = void (*)(GLuint, GLenum, GLuint*);
    static constexpr GLenum SAMPLES_PASSED = 0x8914;
    static constexpr GLenum QUERY_RESULT = 0x8866;
    Gen gen = reinterpret_cast<Gen>(SDL_GL_GetProcAddress("glGenQueries"));
    Gen remove = reinterpret_cast<Gen>(SDL_GL_GetProcAddress("glDeleteQueries"));
    Begin begin = reinterpret_cast<Begin>(SDL_GL_GetProcAddress("glBeginQuery"));
    End end = reinterpret_cast<End>(SDL_GL_GetProcAddress("glEndQuery"));
    Result result = reinterpret_cast<Result>(SDL_GL_GetProcAddress("glGetQueryObjectuiv"));
    bool ok() const { return gen && remove && begin && end && result; }
};

// The parts of the reference scene, as ReferenceScene::draw marks them.
constexpr int SCENE_PARTS = 5;
const char* const SCENE_PART_NAMES[SCENE_PARTS] = {"camera", "track and backdrop", "crafts", "shadows",
                                                   "halos and items"};

// Fragments per pixel of each part in one frame, for the normal pass (the
// window) and the glow pass (the glow image). One query per part and pass:
// a query cannot be nested in another of its kind.
struct DepthComplexity {
    double normal[SCENE_PARTS] = {};
    double glow[SCENE_PARTS] = {};
    static double sum(const double* parts) {
        double total = 0;
        for (int i = 0; i < SCENE_PARTS; ++i) total += parts[i];
        return total;
    }
};

DepthComplexity countFragments(Fixture& f, const SampleQueries& q) {
    GLuint ids[2][SCENE_PARTS];
    q.gen(2 * SCENE_PARTS, &ids[0][0]);
    GLint glowDepthBits = 0;
    f.scene.begin = [&] {
        if (glowPass) glGetIntegerv(GL_DEPTH_BITS, &glowDepthBits);
        q.begin(SampleQueries::SAMPLES_PASSED, ids[glowPass ? 1 : 0][0]);
    };
    f.drawFrame([&](int part) {
        if (part >= SCENE_PARTS) return;
        q.end(SampleQueries::SAMPLES_PASSED);
        if (part + 1 < SCENE_PARTS) q.begin(SampleQueries::SAMPLES_PASSED, ids[glowPass ? 1 : 0][part + 1]);
    });
    f.scene.begin = [] {};
    const bool glow = glowFrameEnabled();
    DepthComplexity counted;
    const double windowPixels = double(f.gl->width()) * double(f.gl->height());
    const double glowPixels = double(settings.bloomW) * double(settings.bloomH);
    for (int part = 0; part < SCENE_PARTS; ++part) {
        GLuint samples = 0;
        q.result(ids[0][part], SampleQueries::QUERY_RESULT, &samples);
        counted.normal[part] = double(samples) / windowPixels;
        if (!glow) continue;
        q.result(ids[1][part], SampleQueries::QUERY_RESULT, &samples);
        counted.glow[part] = double(samples) / glowPixels;
    }
    q.remove(2 * SCENE_PARTS, &ids[0][0]);
    if (glow) recordFigure("depth buffer bits (glow image)", glowDepthBits);
    return counted;
}

// Arguments: Details (shadows on). One frame after three unmeasured ones;
// the counts are exact, so one frame tells.
void BM_DepthComplexity(benchmark::State& state) {
    Fixture& f = fixture();
    const int details = int(state.range(0));
    if (!frameSettings(state, f, details, 1)) return;
    static const SampleQueries queries;
    if (!queries.ok()) {
        state.SkipWithError("no occlusion queries");
        return;
    }
    for (int warm = 0; warm < 3; ++warm) f.drawFrame();
    DepthComplexity counted;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        counted = countFragments(f, queries);
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    const std::string name = "depth complexity details " + std::to_string(details);
    recordFigure(name + ", normal pass", DepthComplexity::sum(counted.normal));
    for (int part = 0; part < SCENE_PARTS; ++part)
        recordFigure(name + ", normal pass: " + SCENE_PART_NAMES[part], counted.normal[part]);
    state.counters["normal_pass"] = DepthComplexity::sum(counted.normal);
    if (glowFrameEnabled()) {
        recordFigure(name + ", glow pass", DepthComplexity::sum(counted.glow));
        state.counters["glow_pass"] = DepthComplexity::sum(counted.glow);
    }
    GLint depthBits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    recordFigure("depth buffer bits (benchmark window)", depthBits);
}
BENCHMARK(BM_DepthComplexity)->Arg(2)->Arg(3)->ArgName("details")->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

double monotonicMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
}

// One start of the game in a 1024 x 768 window with the dummy sound driver
// and an empty user folder: the milliseconds from the spawn to its first
// swap (the game prints the monotonic clock of that swap) and the CPU time
// the whole process used (it quits right after that frame). False when the
// game could not be started or did not report; `output` holds what it
// printed.
bool startGameOnce(const std::string& userFolder, double& wallMs, double& cpuMs, std::string& output) {
    int out[2];
    if (pipe(out) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDERR_FILENO);  // its notices, not the report's
    posix_spawn_file_actions_addclose(&actions, out[0]);
    setenv(FIRST_FRAME_EXIT_VARIABLE, "1", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::string folder = userFolder;
    char program[] = "./tavrelo";
    char windowed[] = "--windowed", size[] = "--size", dimensions[] = "1024x768", user[] = "--user";
    char* argv[] = {program, windowed, size, dimensions, user, &folder[0], nullptr};
    pid_t child = 0;
    const double spawnedMs = monotonicMs();
    const int spawned = posix_spawn(&child, program, &actions, nullptr, argv, environ);
    unsetenv(FIRST_FRAME_EXIT_VARIABLE);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    output.clear();
    char buffer[512];
    for (ssize_t n; spawned == 0 && (n = read(out[0], buffer, sizeof buffer)) > 0;) output.append(buffer, size_t(n));
    close(out[0]);
    if (spawned != 0) return false;
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const std::string mark = "First frame swapped at ";
    const size_t at = output.find(mark);
    if (at == std::string::npos) return false;
    wallMs = std::atof(output.c_str() + at + mark.size()) - spawnedMs;
    cpuMs = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
            double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
    return true;
}

// The game's start-up to its first menu frame (the median of the runs).
void BM_StartUp(benchmark::State& state) {
    if (access("./tavrelo", X_OK) != 0) {
        state.SkipWithError("no ./tavrelo (run from the runtime directory)");
        return;
    }
    char folder[] = "/tmp/tavrelo-bench-XXXXXX";
    if (!mkdtemp(folder)) {
        state.SkipWithError("no temporary user folder");
        return;
    }
    std::vector<double> wall, cpu;
    for (auto _ : state) {
        double wallMs = 0, cpuMs = 0;
        std::string output;
        // A busy X server now and then turns a connection away: one more try.
        if (!startGameOnce(folder, wallMs, cpuMs, output) && !startGameOnce(folder, wallMs, cpuMs, output)) {
            state.SkipWithError(("the game did not report its first frame: " + output).c_str());
            wall.clear();
            break;
        }
        state.SetIterationTime(wallMs / 1000.0);
        wall.push_back(wallMs);
        cpu.push_back(cpuMs);
    }
    const std::string removeFolder = std::string("rm -rf ") + folder;
    if (std::system(removeFolder.c_str()) != 0) std::fprintf(stderr, "could not remove %s\n", folder);
    if (wall.empty()) return;
    recordFigure("start-up to the first menu frame, median (s)", percentile(wall, 0.5) / 1000.0);
    recordFigure("start-up, CPU time of the whole process, median (s)", percentile(cpu, 0.5) / 1000.0);
    state.counters["median_ms"] = percentile(wall, 0.5);
    state.counters["cpu_ms"] = percentile(cpu, 0.5);
}
BENCHMARK(BM_StartUp)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

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

// The targets.
const FrameTarget FRAME_TARGETS[] = {
    {"depth complexity, normal pass (Details 2, shadows)", TargetKind::Figure, "depth complexity details 2, normal pass",
     nullptr, 1.5, "frag/px"},
    {"depth complexity, normal pass (Details 3, shadows)", TargetKind::Figure, "depth complexity details 3, normal pass",
     nullptr, 1.5, "frag/px"},
    {"Details 2 (shadows on), 95th percentile", TargetKind::Percentile95, "reference details 2 shadows", nullptr, 21.0},
    {"split screen / time attack (Details 2, shadows), in turn", TargetKind::Ratio,
     "paired: split screen details 2 shadows", "paired: time attack details 2 shadows", 1.2},
    {"single player / time attack (Details 2, shadows)", TargetKind::Ratio, "single player details 2 shadows",
     "time attack details 2 shadows", 1.2},
    {"start-up to the first menu frame (median of 5)", TargetKind::Figure,
     "start-up to the first menu frame, median (s)", nullptr, 0.3, "s"},
};

// Details 3 under the physics step, or where the machine cannot reach it,
// close to the Details 2 frame of the same run.
const AlternativeTarget ALTERNATIVE_TARGETS[] = {
    {"Details 3 (shadows on): the step, or the Details 2 frame",
     {"Details 3 (shadows on), 95th percentile", TargetKind::Percentile95, "reference details 3 shadows", nullptr, 21.0},
     {"Details 3 / Details 2 (shadows on), in turn", TargetKind::Ratio, "paired: reference details 3 shadows",
      "paired: reference details 2 shadows", 1.15}},
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    // The window is opened first and kept for the whole run, so the X
    // server always has a client: one that resets when its last client
    // leaves (xvfb-run's) would turn away the connections that follow a
    // close, those of the games the start-up benchmark starts included.
    fixture();
    const int notRun = runSelectedBenchmarks();
    printFrameTargets(FRAME_TARGETS, int(sizeof FRAME_TARGETS / sizeof FRAME_TARGETS[0]), ALTERNATIVE_TARGETS,
                      int(sizeof ALTERNATIVE_TARGETS / sizeof ALTERNATIVE_TARGETS[0]));
    return benchmarkExitStatus(notRun);
}
