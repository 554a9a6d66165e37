// Cost of one physics step at the start, the middle and the end of a long
// level, of the ground scan alone (indexed and block by block), and of
// loading the level. The indexed scan keeps a step at the end of the level
// about as cheap as one at its start.

#include <benchmark/benchmark.h>

#include <string>

#include "core/settings.h"
#include "level/level_file.h"
#include "level/level_text.h"
#include "sim/physics.h"

namespace {

constexpr int LONG_LEVEL_BLOCKS = 8000;
constexpr int BLOCK_LENGTH = 1000;

// Plain blocks end to end; every 40th slides sideways from the start.
Level longLevel() {
    std::string text = "medals 0 0 0\n";
    for (int i = 0; i < LONG_LEVEL_BLOCKS; ++i) {
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

BENCHMARK_MAIN();
