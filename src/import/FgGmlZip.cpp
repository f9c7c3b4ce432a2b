// A zip of FG-GML DEM tiles, as they are downloaded: every .xml entry is a tile, and so is every
// .xml entry of the zips inside it (GSI's bulk packs), and the tiles, all of one spacing, become
// one map over their bounding box (LayOutMosaic); where no tile lies there is no data. A mesh GSI
// republished is laid from its newest date; the older tiles are set aside and counted. What the
// archive declares its entries unpack to is checked before any is read, so a zip bomb is refused;
// so is a mosaic that its tiles would leave almost all empty. A zip without a tile but with one
// raster opens as that raster.

#include "import/FgGmlZip.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "import/FgGmlLayout.h"
#include "import/FgGmlReader.h"
#include "import/FgGmlTuples.h"
#include "import/FileBytes.h"
#include "import/OpenMap.h"
#include "import/ReadLimits.h"
#include "import/ZipTiles.h"
#include "import/ZippedRaster.h"
#include "platform/Errors.h"
#include "platform/Messages.h"

namespace talvo {

namespace {

// Lays Tiles into Map over their bounding box.
void Mosaic(const std::vector<TMosaicTile>& Tiles, const std::vector<TFgGmlCells>& Cells,
            const std::string& Path, TLoadedMap& Map) {
    const TMosaicLayout Layout = LayOutMosaic(Tiles, Path, true);
    SetFgGmlHeader(Layout.Bounds, Layout.Cols, Layout.Rows, Map);
    TNum_HeaderRec& H = Map.NumHeader;
    H.DataFileName = Path;
    for (int32_t Row = 0; Row < H.Rows; ++Row) {
        std::fill_n(HeightRow(Map, Row), H.Columns, NoDataHeight);
    }
    for (size_t T = 0; T < Tiles.size(); ++T) {
        PlaceFgGmlCells(Tiles[T].Header, Cells[T], static_cast<int32_t>(Layout.Places[T].Row),
                        static_cast<int32_t>(Layout.Places[T].Col), Map);
    }
    Map.RowsRead = H.Rows;
}

// Tiles read one after another into one mosaic, the newest of each mesh kept.
class TMosaicReader {
  public:
    TMosaicReader(const std::string& Named, TProgress& Progress)
        : Named(Named), Progress(Progress) {}

    // Reads the tile File, whose bytes are Read's; a tile older than another of its mesh is set
    // aside, before its points are read.
    template <typename TRead> void Add(const std::string& File, TRead Read) {
        Progress.StopIfCancelled();
        const TFileBytes Bytes = Read();
        TMosaicTile Tile{ReadFgGmlTile(Bytes.View(), File), File};
        const std::optional<size_t> Place = Newest.Place(Tile.Header.Mesh, File, Tiles.size());
        if (!Place) {
            Progress.Advance(1);
            return;
        }
        if (*Place < Tiles.size()) {
            Cells -= int64_t{Tiles[*Place].Header.Cols} * Tiles[*Place].Header.Rows;
        }
        Cells += int64_t{Tile.Header.Cols} * Tile.Header.Rows;
        if (Cells > MaxGridCells) {
            throw Placed(ETalvoError(Text(TText::ZipCellsTooMany, {std::to_string(MaxGridCells)})),
                         Named);
        }
        TFgGmlCells Parsed = ReadFgGmlTuples(Tile.Header, Bytes.View(), File, Progress);
        if (*Place < Tiles.size()) {
            Tiles[*Place] = std::move(Tile);
            TileCells[*Place] = std::move(Parsed);
        } else {
            Tiles.push_back(std::move(Tile));
            TileCells.push_back(std::move(Parsed));
        }
        Progress.Advance(1);
    }

    TOpenedMap Finish(TLoadedMap Map) {
        Mosaic(Tiles, TileCells, Named, Map);
        TOpenedMap Opened{TOpenOutcome::Loaded, std::move(Map), {}};
        if (Newest.SetAside() > 0) {
            Opened.Note = Text(TText::ZipOlderSetAside, {std::to_string(Newest.SetAside())});
        }
        return Opened;
    }

  private:
    const std::string& Named;
    TProgress& Progress;
    std::vector<TMosaicTile> Tiles;
    std::vector<TFgGmlCells> TileCells;
    int64_t Cells = 0;
    TNewestTiles Newest;
};

// The tiles of Paths, read one after another into one map; each zip's listing is Zips' entry of
// the same place (none for a tile file).
TOpenedMap ReadMosaic(const std::vector<std::string>& Paths,
                      std::vector<std::unique_ptr<TZipTiles>>& Zips, TLoadedMap Map,
                      TProgress& Progress) {
    int64_t Count = 0;
    for (const auto& Zip : Zips) {
        Count += Zip ? static_cast<int64_t>(Zip->Tiles().size()) : 1;
    }
    Progress.Start(Count);
    TMosaicReader Reader(Paths.front(), Progress);
    for (size_t Input = 0; Input < Paths.size(); ++Input) {
        if (!Zips[Input]) {
            Reader.Add(Paths[Input], [&] {
                return ReadFileBytes(Paths[Input], MaxUnpackedBytes, RequireXmlStart);
            });
            continue;
        }
        TZipTiles& Zip = *Zips[Input];
        for (const TZipTile& Tile : Zip.Tiles()) {
            Reader.Add(Zip.TilePath(Tile), [&] { return Zip.Read(Tile); });
        }
    }
    return Reader.Finish(std::move(Map));
}

} // namespace

bool IdentifyFgGmlZip(const TFileStart& File) {
    return File.UpperExt == ".ZIP" || File.Bytes.starts_with(std::string_view("PK\x03\x04", 4));
}

TOpenedMap OpenFgGmlZip(const std::string& Path, TLoadedMap Map, TProgress& Progress) {
    std::vector<std::unique_ptr<TZipTiles>> Zips;
    Zips.push_back(std::make_unique<TZipTiles>(Path));
    if (Zips.front()->Tiles().empty()) {
        return OpenZippedRaster(Zips.front()->Archive(), std::move(Map), Progress);
    }
    return ReadMosaic({Path}, Zips, std::move(Map), Progress);
}

std::vector<std::unique_ptr<TZipTiles>> ListMosaicInputs(const std::vector<std::string>& Paths) {
    std::vector<std::unique_ptr<TZipTiles>> Zips;
    for (const std::string& Path : Paths) {
        const TDriverRole Role = DriverOf(Path).Role;
        if (Role == TDriverRole::Zip) {
            Zips.push_back(std::make_unique<TZipTiles>(Path));
            if (Zips.back()->Tiles().empty()) {
                throw Placed(ETalvoError(Text(TText::MosaicNeedsFgGml)), Path);
            }
        } else if (Role == TDriverRole::FgGmlTile) {
            Zips.emplace_back();
        } else {
            throw Placed(ETalvoError(Text(TText::MosaicNeedsFgGml)), Path);
        }
    }
    return Zips;
}

TOpenedMap OpenFgGmlMosaic(const std::vector<std::string>& Paths, TLoadedMap Map,
                           TProgress& Progress) {
    // Every zip is listed first: the progress counts tiles.
    std::vector<std::unique_ptr<TZipTiles>> Zips = ListMosaicInputs(Paths);
    TOpenedMap Opened = ReadMosaic(Paths, Zips, std::move(Map), Progress);
    Opened.Map.MosaicFiles = Paths;
    return Opened;
}

} // namespace talvo
