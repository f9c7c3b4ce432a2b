// Building the terrain mesh of a 999 × 999 region at step 1 (about two million triangles), on
// one core and on all of them, and the chunks of a large region.
#include <benchmark/benchmark.h>
#include <cmath>
#include <tbb/global_control.h>
#include <thread>

#include "TileMap.h"
#include "view3d/TerrainLod.h"
#include "view3d/TerrainMesh.h"

namespace {

void BM_BuildTerrainMesh(benchmark::State& State) {
    tbb::global_control Limit(tbb::global_control::max_allowed_parallelism,
                              static_cast<size_t>(State.range(0)));
    talvo::TLoadedMap Map;
    talvo::InitLoadedMap(Map);
    talvo::TNum_HeaderRec& H = Map.NumHeader;
    H.CellSpacing = 10000;
    Map.NumData.HeightGrid.ReDim(999, 999, false);
    for (int32_t R = 0; R < 999; ++R) {
        for (int32_t C = 0; C < 999; ++C) {
            Map.NumData.HeightGrid.SetVal(
                R, C, static_cast<int32_t>(10000 + 8000 * std::sin(R / 50.0) * std::cos(C / 70.0)));
        }
    }
    const talvo::TRegion Region{0, 0, 999, 999, 1, 2.0f};
    talvo::TViewSettings Settings;
    Settings.Max = 5000;
    Settings.Pit = 100;
    Settings.Quality = "GOURAUD";
    talvo::THeightColourTable Table{};
    talvo::TTerrainMesh Terrain;
    talvo::InitTerrainMesh(Terrain);
    double Ratio = 0;
    for (auto _ : State) {
        talvo::TRenderer Renderer;
        auto Builder = talvo::BuildTerrainMesh(Renderer, *Renderer.Scene, Terrain, Map, Region,
                                               Settings, Table);
        const talvo::TTriangles& T = Builder->Triangles();
        const double Arrays =
            12.0 * Terrain.MeshVertexTable.Cols() + 4.0 * Terrain.MeshFaceList.Cols();
        const double Held =
            12.0 * T.Vertices.size() + 4.0 * T.Indices.size() + 4.0 * T.Colours.size();
        Ratio = (Arrays + Held) / Arrays;
        benchmark::DoNotOptimize(T.Colours.data());
    }
    State.counters["faces"] = static_cast<double>(Terrain.MeshFaceCount);
    State.counters["memory_vs_arrays"] = Ratio;
}
BENCHMARK(BM_BuildTerrainMesh)
    ->Arg(1)
    ->Arg(static_cast<int64_t>(std::thread::hardware_concurrency()))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The chunks of the largest tile region a user draws in 3D (2048 × 2048 samples of the bench
// tile): their vertices, index lists and the height error of every level.
void BM_BuildTerrainLod(benchmark::State& State) {
    static const talvo::TLoadedMap Map = BenchTileMap();
    const talvo::TRegion Region{0, 0, 2048, 2048, 1, 2.0f};
    const talvo::TViewSettings Settings;
    const talvo::THeightColourTable Table{};
    for (auto _ : State) {
        benchmark::DoNotOptimize(talvo::BuildTerrainLod(Map, Region, Settings, Table, nullptr));
    }
}
BENCHMARK(BM_BuildTerrainLod)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
