#include "app/HeightExport.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "app/GeoTiffOutput.h"
#include "app/ReliefExport.h"
#include "import/GdalFailure.h"
#include "import/GdalModuleLoader.h"
#include "import/GdalRasterReader.h"
#include "import/OpenMap.h"
#include "model/CellCounts.h"
#include "model/CellWindows.h"
#include "platform/Errors.h"
#include "platform/Messages.h"

namespace talvo {

namespace {

// The value of a cell without data in every export: what the converters users know write.
constexpr double NoDataValue = -9999.0;

// Where the cells of a line asked for are held: the map, the row and the column of the line's
// first cell there; no map where the line has no row read.
struct THeldLine {
    const TLoadedMap* Map = nullptr;
    int32_t Row = 0;
    int32_t Col = 0;
};

// The rows of a map as GDAL's writer asks for them: the map's own, or of a map read by window the
// piece of cells from the part asked for on, read as the writer comes to it, so that no more than
// PieceCells are held: a tile's cells at a time as the writer copies tiles, or a band of whole
// lines, fewer the wider the map, as it makes the overviews.
class TExportedRows {
  public:
    explicit TExportedRows(const TLoadedMap& Map)
        : Map(Map), Rows(Map.Windows ? std::vector<int32_t>() : LineRows(Map, Map.NumHeader.Rows)) {
    }

    THeldLine Line(int32_t Line, int32_t First, int32_t Cols) {
        if (!Map.Windows) {
            const int32_t Row = Rows[static_cast<size_t>(Line)];
            return {Row < 0 ? nullptr : &Map, Row, First};
        }
        const bool Held = Line >= Piece.Row && Line < Piece.Row + Piece.Rows &&
                          First >= Piece.Col && First + Cols <= Piece.Col + Piece.Cols;
        if (!Held) {
            const TNum_HeaderRec& H = Map.NumHeader;
            const auto Tall = static_cast<int32_t>(
                std::clamp<int64_t>(PieceCells / std::max(Cols, 1), 1, TileRows));
            Piece = {First, Line, Cols, std::min(Tall, H.Rows - Line)};
            TProgress Unwatched;
            Cells = Map.Windows->Read(Piece, Piece.Cols, Piece.Rows, Unwatched);
        }
        return {&Cells, Line - Piece.Row, First - Piece.Col};
    }

  private:
    // A tile of the writer's output is as tall.
    static constexpr int32_t TileRows = 512;
    static constexpr int64_t PieceCells = int64_t{1} << 23;

    const TLoadedMap& Map;
    std::vector<int32_t> Rows; // of a map held whole, each line's row, as LineRows gives them
    TCellWindow Piece;
    TLoadedMap Cells;
};

// Fills cells of a line of Map in picture order (north line first), each as Convert makes it, or
// NoData where the line has no row read.
template <typename TCell, typename TConvert>
TRowFill LineFill(const TLoadedMap& Map, TCell NoData, TConvert Convert) {
    auto Rows = std::make_shared<TExportedRows>(Map);
    auto Reading = std::make_shared<std::mutex>();
    return [Rows, Reading, NoData, Convert](int32_t, int32_t Line, int32_t First, int32_t Cols,
                                            void* Cells) {
        TCell* Out = static_cast<TCell*>(Cells);
        std::lock_guard Lock(*Reading);
        const THeldLine Held = Rows->Line(Line, First, Cols);
        if (!Held.Map) {
            std::fill_n(Out, Cols, NoData);
            return;
        }
        const int32_t* Tenths = HeightRow(*Held.Map, Held.Row);
        for (int32_t Col = Held.Col; Col < Held.Col + Cols; ++Col) {
            *Out++ = Convert(*Held.Map, Tenths[Col], Held.Row, Col);
        }
    };
}

// Map held whole for a product of its heights: a map read by window is read whole when it fits
// MaxGridCells, and refused otherwise.
TLoadedMap WholeForProduct(const TLoadedMap& Map, TProgress& Progress) {
    const TNum_HeaderRec& H = Map.NumHeader;
    if (int64_t{H.Columns} * H.Rows > MaxGridCells) {
        throw Placed(ETalvoError(Text(TText::ProductNeedsWholeMap,
                                      {std::to_string(H.Columns), std::to_string(H.Rows)})),
                     H.MapFileName);
    }
    TPartProgress Reading(Progress);
    return Map.Windows->Read({0, 0, H.Columns, H.Rows}, H.Columns, H.Rows, Reading);
}

} // namespace

void ExportHeights(const TLoadedMap& Map, const THeightExport& Options, const std::string& Path,
                   TProgress& Progress) {
    if (Options.Relief) {
        if (Map.Windows) {
            ExportRelief(WholeForProduct(Map, Progress), *Options.Relief, Options.Sea, Path,
                         Progress);
            return;
        }
        ExportRelief(Map, *Options.Relief, Options.Sea, Path, Progress);
        return;
    }
    const TNum_HeaderRec& H = Map.NumHeader;
    const TMapKindTraits& Traits = KindTraits(H.MapKind);
    if (Traits.Colouring == TColouring::None || (Map.RowsRead == 0 && !Map.Windows) ||
        H.Columns <= 0 || H.Rows <= 0) {
        throw Placed(ETalvoError(Text(TText::NothingToExport)), H.MapFileName);
    }
    TalvoGdalRasterOut Raster{};
    Raster.Width = H.Columns;
    Raster.Height = H.Rows;
    Raster.Bands = 1;
    Raster.HasNoData = 1;
    Raster.NoData = NoDataValue;
    if (Traits.Colouring == TColouring::Elevation) {
        const auto NoData = static_cast<float>(NoDataValue);
        const auto Sea = static_cast<float>(Options.Sea.value_or(NoDataValue));
        Raster.CellType = TalvoGdalFloat32;
        Raster.Overview = "AVERAGE";
        WriteGeoTiff(Raster,
                     LineFill<float>(Map, NoData,
                                     [&Traits, Sea, NoData](const TLoadedMap& Held, int32_t Tenths,
                                                            int32_t Row, int32_t Col) {
                                         if (Traits.SeaCell == Tenths) {
                                             return Sea;
                                         }
                                         return Traits.NoDataCell == Tenths
                                                    ? NoData
                                                    : SourceValue(Held, Row, Col);
                                     }),
                     Map.Georeference, Path, Progress);
    } else {
        // Class codes: a byte each in the files, so that 16 bits hold them and the no-data value.
        Raster.CellType = TalvoGdalInt16;
        Raster.Overview = "NEAREST";
        WriteGeoTiff(Raster,
                     LineFill<int16_t>(Map, static_cast<int16_t>(NoDataValue),
                                       [](const TLoadedMap&, int32_t Code, int32_t, int32_t) {
                                           return Code >= INT16_MIN && Code <= INT16_MAX
                                                      ? static_cast<int16_t>(Code)
                                                      : static_cast<int16_t>(NoDataValue);
                                       }),
                     Map.Georeference, Path, Progress);
    }
}

bool IsExportOf(const std::string& Path, const TLoadedMap& Map) {
    try {
        const TRasterSize Size = GdalRasterSize(Path);
        if (Size.Width != Map.NumHeader.Columns || Size.Height != Map.NumHeader.Rows) {
            return false;
        }
        return OpenMap(Path).Outcome == TOpenOutcome::Loaded;
    } catch (const std::exception&) {
        return false;
    }
}

void PrepareExport() {
    GdalModule();
}

void CheckOutputCrs(const std::string& Crs) {
    const TalvoGdalApi* Gdal = nullptr;
    try {
        Gdal = &GdalModule();
    } catch (const ETalvoError&) {
        return;
    }
    TalvoGdalFailure Failure{};
    if (!Gdal->KnownCrs(Crs.c_str(), &Failure)) {
        throw ETalvoError(GdalFailureText(Failure));
    }
}

} // namespace talvo
