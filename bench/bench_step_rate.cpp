// The game's physics steps per second of wall time with every frame held to
// 1000/N ms (N = 10, 20, 30, 60 frames a second, as the TAVRELO_FRAME_MS
// hook does): the main loop and the time-attack state with forward held on
// a long straight, on the wall clock, for three seconds each. The steps must
// keep up with the clock at any frame rate: each figure is met within 2 % of
// 1000/21 steps a second.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <thread>

#include "app/main_loop.h"
#include "bench_run.h"
#include "core/globals.h"
#include "core/held_keys.h"
#include "core/settings.h"
#include "modes/timeattack/time_attack.h"
#include "level/level_text.h"

namespace {

constexpr double TRUE_RATE = 1000.0 / STEP_MS;
constexpr double ALLOWED_DEVIATION = 0.02;
constexpr int DRIVE_SECONDS = 3;

std::map<int, double>& stepRates() {
    static std::map<int, double> rates;
    return rates;
}

uint32_t wallMs() {
    using namespace std::chrono;
    return uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void BM_StepRate(benchmark::State& state) {
    const int framesPerSecond = int(state.range(0));
    settings = defaultSettings();
    setProjectionSetter(nullptr);
    for (auto _ : state) {
        TimeAttack play;
        if (parseLevelText("block plain pos=800,0,0 size=1600,500,2000000\n", play.run.level, nullptr) != 0)
            state.SkipWithError("the straight did not parse");
        releaseAllKeys();
        setKeyDown(settings.keys[KEY_FORWARD2], true);  // held before the run starts
        play.enter();
        currentState = &play;
        const uint32_t start = wallMs();
        MainLoop loop(LoopIo{wallMs, [](SDL_Event&) { return false; }, [] {},
                             [](uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }, {},
                             {}});
        loop.holdFramesTo(uint32_t(std::lround(1000.0 / framesPerSecond)));
        // The loop's clock started with it; the time an iteration reads is
        // the time it has handed the state (what the last frame's hold
        // sleeps after it belongs to the next).
        uint32_t handed = start;
        while (handed - start < DRIVE_SECONDS * 1000u) {
            handed = wallMs();
            loop.runIteration();
        }
        const double seconds = (handed - start) / 1000.0;
        const double rate = play.run.craft.timeMs / double(STEP_MS) / seconds;
        stepRates()[framesPerSecond] = rate;
        state.counters["steps_per_s"] = rate;
        currentState = nullptr;
        releaseAllKeys();
    }
}
BENCHMARK(BM_StepRate)->Arg(10)->Arg(20)->Arg(30)->Arg(60)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    const int notRun = runSelectedBenchmarks();
    std::printf("\nPhysics steps per second of wall time (true speed %.2f; met within %.0f %%):\n", TRUE_RATE,
                ALLOWED_DEVIATION * 100);
    for (const auto& [framesPerSecond, rate] : stepRates()) {
        const bool met = std::fabs(rate / TRUE_RATE - 1) <= ALLOWED_DEVIATION;
        std::printf("  %2d frames/s: %6.2f steps/s (%.3f of true speed)  %s\n", framesPerSecond, rate,
                    rate / TRUE_RATE, met ? "met" : "MISSED");
    }
    return benchmarkExitStatus(notRun);
}
