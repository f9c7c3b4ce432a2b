#include "import/FgGmlMosaicSource.h"

#include <algorithm>
#include <numeric>
#include <optional>
#include <tbb/blocked_range.h>
#include <tbb/info.h>
#include <tbb/parallel_for.h>
#include <tbb/task_arena.h>

#include "import/FgGmlReader.h"
#include "import/FgGmlZip.h"
#include "import/OpenMap.h"
#include "import/ReadLimits.h"
#include "platform/Errors.h"
#include "platform/Messages.h"

namespace talvo {

TFgGmlMosaicSource::TFgGmlMosaicSource(const std::vector<std::string>& Paths, int Jobs,
                                       const TProgress& Progress)
    : Paths(Paths), Zips(ListMosaicInputs(Paths)), Jobs(Jobs) {
    std::vector<TSource> Found;
    for (size_t Input = 0; Input < Paths.size(); ++Input) {
        ZipLocks.push_back(std::make_unique<std::mutex>());
        if (!Zips[Input]) {
            Found.push_back({Input, nullptr});
            continue;
        }
        for (const TZipTile& Entry : Zips[Input]->Tiles()) {
            Found.push_back({Input, &Entry});
        }
    }
    std::vector<TFgGmlTile> Structures(Found.size());
    InParallel(Found.size(), [&](size_t Index) {
        Progress.StopIfCancelled();
        const TFileBytes Bytes = BytesOf(Found[Index]);
        Structures[Index] = ReadFgGmlTile(Bytes.View(), FileOf(Found[Index]));
    });
    // The newest of each mesh, judged in the order the tiles are listed, as a load reads them.
    TNewestTiles Newest;
    for (size_t Index = 0; Index < Found.size(); ++Index) {
        std::string File = FileOf(Found[Index]);
        const std::optional<size_t> Place =
            Newest.Place(Structures[Index].Mesh, File, Tiles.size());
        if (!Place) {
            continue;
        }
        TMosaicTile Tile{std::move(Structures[Index]), std::move(File)};
        if (*Place < Tiles.size()) {
            Tiles[*Place] = std::move(Tile);
            Sources[*Place] = Found[Index];
        } else {
            Tiles.push_back(std::move(Tile));
            Sources.push_back(Found[Index]);
        }
    }
    Older = Newest.SetAside();
    Layout = LayOutMosaic(Tiles, Paths.front(), false);
    Header = LoadMap(Paths.front(), [&](TLoadedMap Start) {
                 SetFgGmlPlace(Layout.Bounds, Layout.Cols, Layout.Rows, Start);
                 Start.NumHeader.DataFileName = Paths.front();
                 Start.MosaicFiles = Paths;
                 return TOpenedMap{TOpenOutcome::Loaded, std::move(Start), {}};
             }).Map;
    ByRow.resize(Tiles.size());
    std::iota(ByRow.begin(), ByRow.end(), size_t{0});
    std::stable_sort(ByRow.begin(), ByRow.end(), [&](size_t A, size_t B) {
        return Layout.Places[A].Row < Layout.Places[B].Row;
    });
}

void TFgGmlMosaicSource::HoldRows(int32_t First, int32_t Count, const TProgress& Progress) {
    const int64_t End = int64_t{First} + Count;
    std::erase_if(Held, [&](const auto& Tile) {
        return Layout.Places[Tile.first].Row + Tiles[Tile.first].Header.Rows <= First;
    });
    std::vector<size_t> Touching;
    for (; Next < ByRow.size() && Layout.Places[ByRow[Next]].Row < End; ++Next) {
        const size_t Index = ByRow[Next];
        if (Layout.Places[Index].Row + Tiles[Index].Header.Rows > First) {
            Touching.push_back(Index);
        }
    }
    std::vector<TFgGmlCells> Read(Touching.size());
    InParallel(Touching.size(), [&](size_t Nth) {
        Progress.StopIfCancelled();
        const size_t Index = Touching[Nth];
        const TFileBytes Bytes = BytesOf(Sources[Index]);
        const std::string& File = Tiles[Index].File;
        const TFgGmlTile Tile = ReadFgGmlTile(Bytes.View(), File);
        const TFgGmlTile& Laid = Tiles[Index].Header;
        // Laid where its structure said: a file rewritten since must not spill out of its place.
        if (Tile.Cols != Laid.Cols || Tile.Rows != Laid.Rows) {
            throw Placed(ETalvoError(Text(TText::TileChanged)), File);
        }
        Read[Nth] = ReadFgGmlTuples(Tile, Bytes.View(), File, Progress);
    });
    for (size_t Nth = 0; Nth < Touching.size(); ++Nth) {
        Held.emplace(Touching[Nth], std::move(Read[Nth]));
    }
}

std::string TFgGmlMosaicSource::FileOf(const TSource& Source) const {
    return Source.Entry ? Zips[Source.Input]->TilePath(*Source.Entry) : Paths[Source.Input];
}

TFileBytes TFgGmlMosaicSource::BytesOf(const TSource& Source) {
    if (!Source.Entry) {
        return ReadFileBytes(Paths[Source.Input], MaxUnpackedBytes, RequireXmlStart);
    }
    const std::lock_guard Lock(*ZipLocks[Source.Input]);
    return Zips[Source.Input]->Read(*Source.Entry);
}

template <typename TBody> void TFgGmlMosaicSource::InParallel(size_t Count, TBody Body) const {
    const int Cores = tbb::info::default_concurrency();
    tbb::task_arena Arena(Jobs > 0 ? std::min(Jobs, Cores) : Cores);
    Arena.execute([&] {
        tbb::parallel_for(tbb::blocked_range<size_t>(0, Count, 1),
                          [&](const tbb::blocked_range<size_t>& Range) {
                              for (size_t Index = Range.begin(); Index != Range.end(); ++Index) {
                                  Body(Index);
                              }
                          });
    });
}

} // namespace talvo
