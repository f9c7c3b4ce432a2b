#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "import/FgGmlLayout.h"
#include "import/FgGmlTuples.h"
#include "import/ZipTiles.h"
#include "model/LoadedMap.h"
#include "platform/Progress.h"

namespace talvo {

// The FG-GML tiles of a mosaic, read a band of rows at a time so that a mosaic of any size is
// written in bounded memory: every tile's structure first, which lays out the grid, then only the
// cells of the tiles that touch the rows being written. The tiles, the newest of each mesh and
// their layout are those OpenFgGmlMosaic makes, without its cell limit.
class TFgGmlMosaicSource {
  public:
    // Lists Paths (tiles and zips of them) and reads the structure of every tile, Jobs at once
    // (0: as many as the processor runs). Failures are raised as a mosaic's load raises them;
    // Progress may cancel.
    TFgGmlMosaicSource(const std::vector<std::string>& Paths, int Jobs, const TProgress& Progress);

    // The mosaic's header and place, as its load would give them; its grids are not made.
    const TLoadedMap& Map() const { return Header; }
    // Tiles set aside for a newer one of their mesh.
    int64_t SetAside() const { return Older; }

    // Holds the cells of the tiles that touch rows First to First + Count − 1, read Jobs at once,
    // and lets go of the tiles wholly above them. Bands are asked for from the north down.
    void HoldRows(int32_t First, int32_t Count, const TProgress& Progress);

    // A tile held: its structure, where it lies and its cells.
    struct THeld {
        const TFgGmlTile& Header;
        TMosaicPlace Place;
        const TFgGmlCells& Cells;
    };
    // The tiles held, in the order they are laid: a later one over an earlier one.
    template <typename TVisit> void VisitHeld(TVisit Visit) const {
        for (const auto& [Index, Cells] : Held) {
            Visit(THeld{Tiles[Index].Header, Layout.Places[Index], Cells});
        }
    }

  private:
    // Where a tile's bytes are: an input, and its entry when the input is a zip.
    struct TSource {
        size_t Input = 0;
        const TZipTile* Entry = nullptr;
    };

    std::vector<std::string> Paths;
    std::vector<std::unique_ptr<TZipTiles>> Zips;
    std::vector<std::unique_ptr<std::mutex>> ZipLocks; // a zip is read by one thread at a time
    int Jobs;
    std::vector<TMosaicTile> Tiles; // the tiles laid
    std::vector<TSource> Sources;   // of each of Tiles
    TMosaicLayout Layout;
    TLoadedMap Header;
    int64_t Older = 0;
    std::vector<size_t> ByRow; // Tiles' indices, the northernmost first
    size_t Next = 0;           // the first of ByRow not held yet
    std::map<size_t, TFgGmlCells> Held;

    std::string FileOf(const TSource& Source) const;
    TFileBytes BytesOf(const TSource& Source);
    // Runs Body(I) for I from 0 to Count − 1, Jobs at once.
    template <typename TBody> void InParallel(size_t Count, TBody Body) const;
};

} // namespace talvo
