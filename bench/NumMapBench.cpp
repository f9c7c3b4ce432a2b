// Reading numeric map files: a 999 × 999 ".Tem" file, the largest the format can describe.
#include <benchmark/benchmark.h>
#include <filesystem>
#include <random>

#include "import/OpenMap.h"
#include "support/NumMapText.h"

namespace {

std::string LargestTemFile() {
    std::mt19937 Random(999);
    std::uniform_int_distribution<int> Height(-500, 37760);
    std::vector<std::vector<int>> Rows(999, std::vector<int>(999));
    for (auto& Row : Rows) {
        for (int& Value : Row) {
            Value = Height(Random);
        }
    }
    return talvo::test::FormatNumMap(Rows);
}

void BM_LoadLargestTemFile(benchmark::State& State) {
    const std::string Text = LargestTemFile();
    const std::string Path = talvo::test::WriteTempFile("bench.Tem", Text);
    for (auto _ : State) {
        const talvo::TOpenedMap Opened = talvo::OpenMap(Path);
        benchmark::DoNotOptimize(Opened.Map.NumData.HeightGrid.GetVal(998, 998));
    }
    State.SetBytesProcessed(static_cast<int64_t>(State.iterations()) *
                            static_cast<int64_t>(Text.size()));
}
BENCHMARK(BM_LoadLargestTemFile)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
