// Colouring a 4800 × 6000 elevation grid (a 30-arc-second tile) with slope shading, cell by
// cell as the renderer does.
#include <benchmark/benchmark.h>
#include <cmath>
#include <vector>

#include "TileMap.h"
#include "model/DimGrid.h"
#include "render/HeightColourTable.h"
#include "render/HeightRowColouring.h"

namespace {

constexpr int32_t Rows = 6000;
constexpr int32_t Cols = 4800;

// Hills and valleys between about 0 m and 3000 m, in tenths of a metre, with a little sea.
void FillTerrain(talvo::TDelDim& Grid) {
    Grid.SetDim(Rows, Cols);
    for (int32_t R = 0; R < Rows; ++R) {
        for (int32_t C = 0; C < Cols; ++C) {
            double Height = 1400 + 900 * std::sin(R / 310.0) * std::cos(C / 270.0) +
                            300 * std::sin(R / 23.0 + C / 41.0) + 37 * std::sin(C * 1.7 + R);
            Grid.SetVal(R, C, static_cast<int32_t>(Height * 10) - 2000);
        }
    }
}

// The tile's palette, with a sea, an out-of-range colour and heights from 0 m.
talvo::TViewSettings Palette() {
    talvo::TViewSettings Settings = BenchTileSettings();
    Settings.Sea = 0xB48246;
    Settings.Out = 0xFAFAFF;
    Settings.Min = 0;
    return Settings;
}

// The time per cell, beside the time per picture.
void CountCells(benchmark::State& State) {
    State.counters["per_cell"] = benchmark::Counter(static_cast<double>(Rows) * Cols,
                                                    benchmark::Counter::kIsIterationInvariantRate |
                                                        benchmark::Counter::kInvert);
}

// The terrain, the sample palette with its ramp, and room for the picture.
struct TPictureWork {
    TPictureWork() {
        FillTerrain(Grid);
        talvo::BuildHeightColourTable(Settings, Table);
    }
    talvo::TDelDim Grid;
    talvo::TViewSettings Settings = Palette();
    talvo::THeightColourTable Table{};
    std::vector<int32_t> Picture = std::vector<int32_t>(static_cast<size_t>(Rows) * Cols);
};

void BM_HeightColourWithShading(benchmark::State& State) {
    TPictureWork Work;
    auto& [Grid, Settings, Table, Picture] = Work;

    for (auto _ : State) {
        int32_t* Pixel = Picture.data();
        for (int32_t R = 0; R < Rows; ++R) {
            talvo::THeightColouring Colouring(Settings, Table, 10000);
            int32_t West = Grid.GetVal(R, 0);
            for (int32_t C = 0; C < Cols; ++C) {
                int32_t Value = Grid.GetVal(R, C);
                *Pixel++ = Colouring.Colour(Value / 10, C == 0 ? 0 : Value - West);
                West = Value;
            }
        }
        benchmark::DoNotOptimize(Picture.data());
        benchmark::ClobberMemory();
    }
    CountCells(State);
}
BENCHMARK(BM_HeightColourWithShading)->Unit(benchmark::kMillisecond);

// The same picture a row at a time from the tables the renderer fills once per picture.
void BM_HeightRowColouring(benchmark::State& State) {
    TPictureWork Work;
    auto& [Grid, Settings, Table, Picture] = Work;

    for (auto _ : State) {
        const talvo::THeightRowColouring Colouring(Settings, Table, 10000);
        for (int32_t R = 0; R < Rows; ++R) {
            Colouring.ColourRow(Grid.RowData(R), Cols,
                                Picture.data() + static_cast<size_t>(R) * Cols);
        }
        benchmark::DoNotOptimize(Picture.data());
        benchmark::ClobberMemory();
    }
    CountCells(State);
}
BENCHMARK(BM_HeightRowColouring)->Unit(benchmark::kMillisecond);

} // namespace
