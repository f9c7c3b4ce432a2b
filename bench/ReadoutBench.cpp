// The readout of the cell under the pointer on a 4800 × 6000 raster (a 30-arc-second tile):
// what each mouse move costs the window before it sets the status bar's text.
#include <benchmark/benchmark.h>

#include "TileMap.h"
#include "import/LonLatOfCrs.h"
#include "model/CellReadout.h"

namespace {

// Range 0: the line under the pointer; the top line is the slowest, every row read after it
// being asked whether it is drawn there.
void BM_ReadoutPerMouseMove(benchmark::State& State) {
    static const talvo::TLoadedMap Map = BenchTileMap();
    const double Line = static_cast<double>(State.range(0)) + 0.5;
    double Col = 0.5;
    for (auto _ : State) {
        const std::optional<talvo::TGridCell> Cell = talvo::CellAtGrid(Map, Col, Line);
        std::string Text = talvo::ReadoutLine(talvo::ReadoutFields(Map, *Cell));
        benchmark::DoNotOptimize(Text);
        Col = Col + 1 < BenchTileCols ? Col + 1 : 0.5;
    }
}
BENCHMARK(BM_ReadoutPerMouseMove)->Arg(0)->Arg(BenchTileRows - 1)->Unit(benchmark::kMicrosecond);

// The same cells as a projected map (UTM zone 54, 30 m cells): its longitude and latitude on
// WGS 84 are converted through the GDAL module for every move.
void BM_ProjectedReadoutPerMouseMove(benchmark::State& State) {
    static const talvo::TLoadedMap Map = [] {
        talvo::TLoadedMap Projected = BenchTileMap();
        Projected.NumHeader.Projected = true;
        Projected.Georeference.Crs = "EPSG:32654";
        Projected.Georeference.Transform = {400000, 30, 0, 4000000, 0, -30};
        talvo::AttachLonLat(Projected);
        return Projected;
    }();
    double Col = 0.5;
    for (auto _ : State) {
        const std::optional<talvo::TGridCell> Cell = talvo::CellAtGrid(Map, Col, 100.5);
        std::string Text = talvo::ReadoutLine(talvo::ReadoutFields(Map, *Cell));
        benchmark::DoNotOptimize(Text);
        Col = Col + 1 < BenchTileCols ? Col + 1 : 0.5;
    }
}
BENCHMARK(BM_ProjectedReadoutPerMouseMove)->Unit(benchmark::kMicrosecond);

} // namespace
