// Listing a zip of 100,000 tiles (a prefecture's 1 m tiles in one download): the central
// directory is read once, whatever the number of entries.
#include <benchmark/benchmark.h>
#include <string>
#include <zip.h>

#include "import/ZipTiles.h"
#include "support/NumMapText.h"

namespace {

constexpr int Entries = 100000;

// A zip of Entries small stored .xml entries, written once per run.
const std::string& ManyTileZip() {
    static const std::string Path = [] {
        const std::string Target = talvo::test::WriteTempFile("many-tiles.zip", "");
        int Error = 0;
        zip_t* Archive = zip_open(Target.c_str(), ZIP_TRUNCATE, &Error);
        static const char Tile[] = "<tile/>";
        for (int Entry = 0; Entry < Entries && Archive; ++Entry) {
            zip_source_t* Source = zip_source_buffer(Archive, Tile, sizeof Tile - 1, 0);
            const std::string Name = "FG-GML-5339-45-" + std::to_string(Entry) + "-DEM1A.xml";
            const zip_int64_t Index = zip_file_add(Archive, Name.c_str(), Source, 0);
            if (Index < 0) {
                zip_source_free(Source);
            } else {
                zip_set_file_compression(Archive, static_cast<zip_uint64_t>(Index), ZIP_CM_STORE,
                                         0);
            }
        }
        if (Archive) {
            zip_close(Archive);
        }
        return Target;
    }();
    return Path;
}

void BM_ListZipOfManyTiles(benchmark::State& State) {
    const std::string& Path = ManyTileZip();
    for (auto _ : State) {
        const talvo::TZipTiles Zip(Path);
        if (Zip.Tiles().size() != Entries) {
            State.SkipWithError("the zip was not written whole");
        }
        benchmark::DoNotOptimize(Zip.Tiles().data());
    }
}
BENCHMARK(BM_ListZipOfManyTiles)->Unit(benchmark::kMillisecond);

} // namespace
