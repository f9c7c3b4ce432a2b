// Drawing the picture of a 4800 × 6000 elevation raster (28.8 million cells, a 30-arc-second
// tile) on one core and on all of them.
#include <benchmark/benchmark.h>
#include <cmath>
#include <tbb/global_control.h>
#include <thread>

#include "TileMap.h"
#include "render/MapPicture.h"

namespace {

void BM_DrawMapPicture(benchmark::State& State) {
    const auto Threads = static_cast<size_t>(State.range(0));
    tbb::global_control Limit(tbb::global_control::max_allowed_parallelism, Threads);
    static const talvo::TLoadedMap Map = BenchTileMap();
    const talvo::TViewSettings Settings = BenchTileSettings();
    talvo::THeightColourTable Table{};
    talvo::BuildHeightColourTable(Settings, Table);
    for (auto _ : State) {
        talvo::TProgress Progress;
        auto Picture = talvo::DrawMapPicture(Map, {}, Settings, Table, {}, Progress);
        benchmark::DoNotOptimize(Picture->Row(0));
    }
    State.counters["threads"] = static_cast<double>(Threads);
}
BENCHMARK(BM_DrawMapPicture)
    ->Arg(1)
    ->Arg(static_cast<int64_t>(std::thread::hardware_concurrency()))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
