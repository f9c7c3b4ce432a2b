// Drawing the picture of a 4800 × 6000 elevation raster (28.8 million cells, a 30-arc-second
// tile) on one core and on all of them.
#include <benchmark/benchmark.h>
#include <cmath>
#include <tbb/global_control.h>
#include <thread>

#include "render/MapPicture.h"

namespace {

constexpr int32_t Rows = 6000;
constexpr int32_t Cols = 4800;

talvo::TLoadedMap TerrainMap() {
    talvo::TLoadedMap Map;
    talvo::InitLoadedMap(Map);
    talvo::TNum_HeaderRec& H = Map.NumHeader;
    H.MapKind = talvo::TMapKind::Bil;
    H.Pts_WE = Cols;
    H.Pts_NS = Rows;
    H.CellSpacing = 10000;
    Map.NumData.RowLineGrid.ReDim(1, Rows, false);
    Map.NumData.HeightGrid.ReDim(Rows, Cols, false);
    for (int32_t R = 0; R < Rows; ++R) {
        Map.NumData.RowLineGrid.SetVal(0, R, R + 1);
        int32_t* Cells = Map.NumData.HeightGrid.RowData(R);
        for (int32_t C = 0; C < Cols; ++C) {
            const double Metres = 1400 + 900 * std::sin(R / 310.0) * std::cos(C / 270.0) +
                                  300 * std::sin(R / 23.0 + C / 41.0) - 200;
            Cells[C] = static_cast<int32_t>(Metres) * 10;
        }
    }
    Map.RowsRead = Rows;
    return Map;
}

void BM_DrawMapPicture(benchmark::State& State) {
    const auto Threads = static_cast<size_t>(State.range(0));
    tbb::global_control Limit(tbb::global_control::max_allowed_parallelism, Threads);
    static const talvo::TLoadedMap Map = TerrainMap();
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
