// Cost of one physics step at the start, the middle and the end of a long
// level, of the ground scan alone (indexed and block by block), of one step
// of the pusher craft (with and without planning a route) and of the pong
// game, and of loading the level. The indexed scan and the block window keep
// a step at the end of the level about as cheap as one at its start. Castle
// attack's craft B scans without that index, in its mirrored order.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench_run.h"
#include "core/settings.h"
#include "level/level_file.h"
#include "level/level_text.h"
#include "sim/computer_craft.h"
#include "sim/physics.h"

namespace {

constexpr int LONG_LEVEL_BLOCKS = 8000;
constexpr int BLOCK_LENGTH = 1000;

// Plain blocks end to end; every 40th slides sideways from the start.
Level longLevel(int blocks = LONG_LEVEL_BLOCKS) {
    std::string text = "medals 0 0 0\n";
    for (int i = 0; i < blocks; ++i) {
        int z = i * BLOCK_LENGTH;
        text += "block plain pos=300,0," + std::to_string(z) + " size=600,500," + std::to_string(BLOCK_LENGTH);
        if (i % 40 == 39) text += " point=900,0," + std::to_string(z) + " flags=MOVE,START_TRIGGER period=2";
        text += "\n";
    }
    Level level;
    parseLevelText(text, level, nullptr);
    return level;
}

const Level& sharedLevel() {
    static const Level level = longLevel();
    return level;
}

class NoDeaths : public PlayHooks {
public:
    void onDeath(Craft&, DeathCause) override {}
    void onFinish(Craft&, int) override {}
};

// A craft resting on block `blockIndex`, holding forward at full speed.
Craft craftOnBlock(Level& level, int blockIndex) {
    Craft craft;
    resetCraft(craft, level, 0);
    const BlockBody& body = level.blocks[size_t(blockIndex)].body;
    placeCraft(craft, body.x - body.width / 2, body.y + 150, body.z + BLOCK_LENGTH / 2, 6000, 1800);
    craft.f_speed = 0;
    craft.phase = 2;
    return craft;
}

int blockAt(double fraction) { return int(fraction * (LONG_LEVEL_BLOCKS - 1)); }

void BM_PhysicsStep(benchmark::State& state) {
    Level level = sharedLevel();
    NoDeaths hooks;
    PlayRules rules = timeAttackRules(hooks);
    Craft start = craftOnBlock(level, blockAt(state.range(0) / 100.0));
    for (auto _ : state) {
        Craft craft = start;
        benchmark::DoNotOptimize(physicsStep(craft, level, rules));
        benchmark::DoNotOptimize(craft.z);
    }
}
BENCHMARK(BM_PhysicsStep)->Arg(0)->Arg(50)->Arg(100);

template <GroundScanResult (*Scan)(Craft&, Level&, const GroundScanOptions&)>
void BM_GroundScan(benchmark::State& state) {
    Level level = sharedLevel();
    Craft start = craftOnBlock(level, blockAt(state.range(0) / 100.0));
    for (auto _ : state) {
        Craft craft = start;
        benchmark::DoNotOptimize(Scan(craft, level, {}));
    }
}
BENCHMARK_TEMPLATE(BM_GroundScan, groundScan)->Arg(0)->Arg(50)->Arg(100);
BENCHMARK_TEMPLATE(BM_GroundScan, groundScanEveryBlock)->Arg(0)->Arg(50)->Arg(100);

// Castle attack's craft B scans the arena in its mirrored order without the
// index that skips the blocks behind: on the largest arena (4096 stored
// blocks, 8192 in play), near its own start, in the middle and at the far
// end, against craft A's indexed scan at the mirrored places (range 1: 0 A,
// 1 B).
void BM_CastleGroundScan(benchmark::State& state) {
    static const Level arena = [] {
        Level level = longLevel(MAX_CASTLE_STORED_BLOCKS);
        buildCastleArena(level);
        return level;
    }();
    static const MirroredScanOrder order = mirroredScanOrder(arena);
    Level level = arena;
    const bool craftB = state.range(1) == 1;
    const int last = level.blockCount() - 1;
    const int along = int(state.range(0) / 100.0 * last);
    Craft start = craftOnBlock(level, craftB ? last - along : along);
    start.kind = craftB ? -1 : 1;
    GroundScanOptions options;
    if (craftB) options.mirroredOrder = &order;
    for (auto _ : state) {
        Craft craft = start;
        benchmark::DoNotOptimize(groundScan(craft, level, options));
    }
}
BENCHMARK(BM_CastleGroundScan)->ArgsProduct({{0, 50, 100}, {0, 1}});

// A player on block `blockIndex` at speed 300 and a pusher 1500 ahead of it
// on the same block, both after a few steps on the level, so the pusher has
// found its block and planned its route.
struct PusherScene {
    Level level = sharedLevel();
    Craft player;
    ComputerCrafts computer;
    Craft pusherStart;
    RouteState routeStart;

    explicit PusherScene(int blockIndex) {
        player = craftOnBlock(level, blockIndex);
        player.f_speed = 300;
        const BlockBody& body = level.blocks[size_t(blockIndex)].body;
        computer.spawn(CRAFT_KIND_PUSHER, level, blockIndex);
        placeCraft(computer.pusher, body.x - body.width / 2, body.y + 150, player.z + 1200, 7000, 2000);
        computer.pusher.camX = blockIndex;
        computer.pusher.f_speed = 300;
        for (int i = 0; i < 3; ++i) computer.stepPusher(player, level);
        pusherStart = computer.pusher;
        routeStart = computer.route;
    }
};

void BM_PusherStep(benchmark::State& state) {
    PusherScene scene(blockAt(state.range(0) / 100.0));
    const Craft playerStart = scene.player;
    // Planning: the pusher seems to have come from another block this step.
    const bool plans = state.range(1) != 0;
    for (auto _ : state) {
        scene.player = playerStart;
        scene.computer.pusher = scene.pusherStart;
        scene.computer.route = scene.routeStart;
        if (plans) scene.computer.pusher.camX = -1;
        scene.computer.stepPusher(scene.player, scene.level);
        benchmark::DoNotOptimize(scene.computer.pusher.z);
    }
    if (!scene.computer.pusherActive) state.SkipWithError("the pusher was lost");
}
// The end: the last block the driver still plans from (two more follow it).
BENCHMARK(BM_PusherStep)->ArgsProduct({{0, 50, 99}, {0, 1}});

// A hard (predicting) pong game in mid-rally on a court 8000 long made of
// block `courtIndex`; the blocks it now covers are moved aside and stay
// obstacles for the window to look at.
struct PongScene {
    Level level = sharedLevel();
    Craft player;
    ComputerCrafts computer;
    PongBall ballStart;

    explicit PongScene(int courtIndex) {
        courtIndex = std::min(courtIndex, level.blockCount() - 9);
        BlockBody& court = level.blocks.edit(size_t(courtIndex)).body;
        court.length = 8000;
        court.flags |= FLAG_PONG;
        court.pointX = court.x - court.width / 2;
        court.pointY = court.z + 7500;
        court.pointZ = 2;
        for (int i = courtIndex + 1; i <= courtIndex + 8; ++i) level.blocks.edit(size_t(i)).body.x += 100000;
        player = craftOnBlock(level, courtIndex);
        player.holdTimer = HOLD_BY_PONG;
        computer.pong.start(level, courtIndex);
        ballStart = computer.pong.ball();
        ballStart.z = court.z + 4500;
        ballStart.vx = 30;
        ballStart.vz = -200;
        ballStart.spin = 1;
    }
};

void BM_PongStep(benchmark::State& state) {
    PongScene scene(blockAt(state.range(0) / 100.0));
    const Craft playerStart = scene.player;
    struct NoLoss : PongHooks {
        void onPongLost(Craft&) override {}
    } hooks;
    const ControlKeys keys = controlKeys(2);
    PongOutcome outcome = PongOutcome::Playing;
    for (auto _ : state) {
        scene.player = playerStart;
        scene.computer.pong.setBall(scene.ballStart, scene.ballStart.x);
        outcome = scene.computer.pong.step(scene.player, scene.level, keys, hooks);
        benchmark::DoNotOptimize(outcome);
    }
    if (outcome != PongOutcome::Playing) state.SkipWithError("the pong game ended");
}
BENCHMARK(BM_PongStep)->Arg(0)->Arg(50)->Arg(99);

void BM_LoadLongLevel(benchmark::State& state) {
    std::vector<uint8_t> bytes = levelBytes(sharedLevel());
    for (auto _ : state) {
        Level level;
        benchmark::DoNotOptimize(readLevel(bytes, level));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(BM_LoadLongLevel);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    return benchmarkExitStatus(runSelectedBenchmarks());
}
