// Reading FG-GML DEM: a 10 m tile of 1125 × 750 points (about 14 MB of XML), its parser on bytes
// in memory and the whole open of the file.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <random>
#include <vector>

#include "import/FgGmlReader.h"
#include "import/FgGmlTuples.h"
#include "import/OpenMap.h"
#include "support/FgGmlText.h"
#include "support/NumMapText.h"

namespace {

// Heights with two decimals, a few points of sea, as a tile along a coast holds them.
const std::string& TenMetreTile() {
    static const std::string Text = [] {
        std::mt19937 Random(17);
        std::uniform_real_distribution<double> Height(0.0, 1200.0);
        std::string Points;
        char Line[48];
        for (int Point = 0; Point < 1125 * 750; ++Point) {
            const int Length =
                Point % 50 == 0 ? std::snprintf(Line, sizeof Line, "\n海水面,-9999.")
                                : std::snprintf(Line, sizeof Line, "\n地表面,%.2f", Height(Random));
            Points.append(Line, static_cast<size_t>(Length));
        }
        talvo::test::TFgGmlText Parts;
        Parts.Type = "10mメッシュ（標高）";
        Parts.Mesh = "533945";
        Parts.Lower = "36.5 -84.5";
        Parts.Upper = "36.5833333333 -84.375";
        Parts.High = "1124 749";
        Parts.Tuples = Points + "\n";
        return talvo::test::FormatFgGml(Parts);
    }();
    return Text;
}

void BM_ParseFgGmlTile(benchmark::State& State) {
    const std::string& Text = TenMetreTile();
    const talvo::TProgress Unwatched;
    for (auto _ : State) {
        const talvo::TFgGmlTile Tile = talvo::ReadFgGmlTile(Text, "bench.xml");
        const talvo::TFgGmlCells Cells = talvo::ReadFgGmlTuples(Tile, Text, "bench.xml", Unwatched);
        benchmark::DoNotOptimize(Cells.Tenths.data());
    }
    State.SetBytesProcessed(static_cast<int64_t>(State.iterations()) *
                            static_cast<int64_t>(Text.size()));
}
BENCHMARK(BM_ParseFgGmlTile)->Unit(benchmark::kMillisecond);

void BM_OpenFgGmlFile(benchmark::State& State) {
    const std::string& Text = TenMetreTile();
    const std::string Path = talvo::test::WriteTempFile("bench.xml", Text);
    for (auto _ : State) {
        const talvo::TOpenedMap Opened = talvo::OpenMap(Path);
        benchmark::DoNotOptimize(Opened.Map.NumData.HeightGrid.GetVal(749, 1124));
    }
    State.SetBytesProcessed(static_cast<int64_t>(State.iterations()) *
                            static_cast<int64_t>(Text.size()));
}
BENCHMARK(BM_OpenFgGmlFile)->Unit(benchmark::kMillisecond);

} // namespace
