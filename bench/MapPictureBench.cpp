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
    talvo::TViewSettings Settings;
    const int32_t Anchors[6] = {0x489456, 0x64BE96, 0x82D7E1, 0x5A96C8, 0x506E96, 0xF5F5F5};
    for (int I = 0; I < 6; ++I) {
        PaletteColour(Settings, static_cast<size_t>(I)) = Anchors[I];
    }
    Settings.Max = 3000;
    Settings.Pit = 60;
    Settings.ShadowKK = 64;
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
