// The products of the heights: the red relief at a 50 m radius on a 5 m grid, and gdaldem's
// shadings and slope on the 28.8-million-cell raster, in cells per second (items_per_second).
#include <benchmark/benchmark.h>
#include <cmath>
#include <vector>

#include "TileMap.h"
#include "render/MapRelief.h"
#include "render/ReliefProducts.h"

namespace {

// 2250 × 1500 cells of 5 m (ten 5 m DEM tiles across and down) of hills and ravines.
talvo::TReliefInput FiveMetreGrid(const std::vector<float>& Heights) {
    talvo::TReliefInput Input;
    Input.Width = 2250;
    Input.Height = 1500;
    Input.CellSizes.assign(static_cast<size_t>(Input.Height), {5.0, 5.0});
    Input.FillLine = [&Heights, Width = Input.Width](int32_t Line, float* Out) {
        std::copy_n(Heights.data() + static_cast<size_t>(Line) * Width, Width, Out);
    };
    return Input;
}

std::vector<float> Hills() {
    std::vector<float> Heights(2250 * 1500);
    for (size_t I = 0; I < Heights.size(); ++I) {
        const double X = static_cast<double>(I % 2250);
        const double Y = static_cast<double>(I / 2250);
        Heights[I] = static_cast<float>(400 + 120 * std::sin(X / 90) * std::cos(Y / 70) +
                                        15 * std::sin(X / 7 + Y / 11));
    }
    return Heights;
}

void RedRelief50mOn5mGrid(benchmark::State& State) {
    const std::vector<float> Heights = Hills();
    const talvo::TReliefInput Input = FiveMetreGrid(Heights);
    talvo::TReliefOptions Options;
    Options.Product = talvo::TReliefProduct::RedRelief;
    Options.Radius = 50.0;
    for (auto _ : State) {
        talvo::TProgress Progress;
        benchmark::DoNotOptimize(talvo::ComputeRelief(Input, Options, Progress));
    }
    State.SetItemsProcessed(State.iterations() * Input.Width * Input.Height);
}
BENCHMARK(RedRelief50mOn5mGrid)->Unit(benchmark::kMillisecond)->UseRealTime();

void ProductOfTile(benchmark::State& State) {
    const talvo::TLoadedMap Map = BenchTileMap();
    const talvo::TReliefInput Input = talvo::ReliefInputOf(Map, std::nullopt);
    talvo::TReliefOptions Options;
    Options.Product = static_cast<talvo::TReliefProduct>(State.range(0));
    for (auto _ : State) {
        talvo::TProgress Progress;
        benchmark::DoNotOptimize(talvo::ComputeRelief(Input, Options, Progress));
    }
    State.SetItemsProcessed(State.iterations() * Input.Width * Input.Height);
}
BENCHMARK(ProductOfTile)
    ->ArgName("product")
    ->Arg(static_cast<int>(talvo::TReliefProduct::Hillshade))
    ->Arg(static_cast<int>(talvo::TReliefProduct::Multidirectional))
    ->Arg(static_cast<int>(talvo::TReliefProduct::Slope))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
