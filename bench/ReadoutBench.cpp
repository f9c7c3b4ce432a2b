// The readout of the cell under the pointer on a 4800 × 6000 raster (a 30-arc-second tile):
// what each mouse move costs the window before it sets the status bar's text.
#include <benchmark/benchmark.h>

#include "model/CellReadout.h"

namespace {

constexpr int32_t Rows = 6000;
constexpr int32_t Cols = 4800;

talvo::TLoadedMap TileMap() {
    talvo::TLoadedMap Map;
    talvo::InitLoadedMap(Map);
    talvo::TNum_HeaderRec& H = Map.NumHeader;
    H.MapKind = talvo::TMapKind::Bil;
    H.Pts_WE = Cols;
    H.Pts_NS = Rows;
    H.Kei_WS = 100.0;
    H.Kei_EN = 140.0;
    H.Ido_EN = 50.0;
    H.Ido_WS = 0.0;
    Map.Georeference.Transform = talvo::TransformOfBounds(H);
    Map.NumData.RowLineGrid.ReDim(1, Rows, false);
    Map.NumData.HeightGrid.ReDim(Rows, Cols, false);
    for (int32_t R = 0; R < Rows; ++R) {
        Map.NumData.RowLineGrid.SetVal(0, R, R + 1);
        int32_t* Cells = Map.NumData.HeightGrid.RowData(R);
        for (int32_t C = 0; C < Cols; ++C) {
            Cells[C] = (R * 7 + C * 3) % 10000;
        }
    }
    Map.RowsRead = Rows;
    return Map;
}

// Range 0: the line under the pointer; the top line is the slowest, every row read after it
// being asked whether it is drawn there.
void BM_ReadoutPerMouseMove(benchmark::State& State) {
    static const talvo::TLoadedMap Map = TileMap();
    const double Line = static_cast<double>(State.range(0)) + 0.5;
    double Col = 0.5;
    for (auto _ : State) {
        const std::optional<talvo::TGridCell> Cell = talvo::CellAtGrid(Map, Col, Line);
        std::string Text = talvo::ReadoutLine(talvo::ReadoutFields(Map, *Cell));
        benchmark::DoNotOptimize(Text);
        Col = Col + 1 < Cols ? Col + 1 : 0.5;
    }
}
BENCHMARK(BM_ReadoutPerMouseMove)->Arg(0)->Arg(Rows - 1)->Unit(benchmark::kMicrosecond);

} // namespace
