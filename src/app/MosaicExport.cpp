#include "app/MosaicExport.h"

#include <algorithm>

#include "app/BatchTiles.h"
#include "app/GeoTiffOutput.h"
#include "import/FgGmlMosaicSource.h"
#include "platform/Errors.h"
#include "platform/Messages.h"
#include "platform/SameFile.h"

namespace talvo {

namespace {

// The value of a cell without data, as every export writes it.
constexpr float NoDataValue = -9999.0F;
// GDAL's block cache while the mosaic is written: a few rows of blocks of a wide mosaic.
constexpr int64_t CacheBytes = int64_t{16} << 20;

// Puts the cells of the held tiles that lie in the block of Cols × Rows at Col, Row into Cells,
// as ExportHeights converts a map's; false when no tile touches the block.
bool FillBlock(const TFgGmlMosaicSource& Source, float Sea, int32_t Col, int32_t Row, int32_t Cols,
               int32_t Rows, float* Cells) {
    const TMapKindTraits& Traits = KindTraits(Source.Map().NumHeader.MapKind);
    std::fill_n(Cells, int64_t{Cols} * Rows, NoDataValue);
    bool Touched = false;
    Source.VisitHeld([&](const TFgGmlMosaicSource::THeld& Tile) {
        const int64_t Left = std::max<int64_t>(Col, Tile.Place.Col);
        const int64_t Right = std::min<int64_t>(Col + Cols, Tile.Place.Col + Tile.Header.Cols);
        const int64_t Top = std::max<int64_t>(Row, Tile.Place.Row);
        const int64_t Bottom = std::min<int64_t>(Row + Rows, Tile.Place.Row + Tile.Header.Rows);
        if (Left >= Right || Top >= Bottom) {
            return;
        }
        Touched = true;
        for (int64_t R = Top; R < Bottom; ++R) {
            const int64_t From = (R - Tile.Place.Row) * Tile.Header.Cols - Tile.Place.Col;
            float* Out = Cells + (R - Row) * Cols - Col;
            for (int64_t C = Left; C < Right; ++C) {
                const int32_t Tenths = Tile.Cells.Tenths[static_cast<size_t>(From + C)];
                if (Traits.SeaCell == Tenths) {
                    Out[C] = Sea;
                } else if (Traits.NoDataCell == Tenths) {
                    Out[C] = NoDataValue;
                } else {
                    Out[C] = Tile.Cells.Metres.empty()
                                 ? MetresOfTenths(Tenths)
                                 : Tile.Cells.Metres[static_cast<size_t>(From + C)];
                }
            }
        }
    });
    return Touched;
}

} // namespace

std::string ExportMosaic(const TMosaicExport& Options, const std::string& Path,
                         TProgress& Progress) {
    const TMapFileSearch Found = SearchMapFiles(Options.Inputs, Options.LeftOut);
    if (Found.Files.empty()) {
        throw Placed(ETalvoError(Text(TText::MosaicNeedsFgGml)),
                     Options.Inputs.empty() ? std::string() : Options.Inputs.front());
    }
    RefuseOverwritingInput(Path, Found.Files);
    TFgGmlMosaicSource Source(Found.Files, Options.Jobs, Progress);
    const TNum_HeaderRec& H = Source.Map().NumHeader;
    TGeoreference Place = Source.Map().Georeference;
    if (!Options.Crs.empty()) {
        Place.Crs = Options.Crs;
        Place.Datum.clear();
    }
    TalvoGdalRasterOut Raster{};
    Raster.Width = H.Columns;
    Raster.Height = H.Rows;
    Raster.Bands = 1;
    Raster.CellType = TalvoGdalFloat32;
    Raster.HasNoData = 1;
    Raster.NoData = NoDataValue;
    Raster.Overview = "AVERAGE";
    const auto Sea = static_cast<float>(Options.Sea.value_or(NoDataValue));
    int32_t HeldRow = -1;
    WriteSparseGeoTiff(
        Raster,
        [&](int32_t Col, int32_t Row, int32_t Cols, int32_t Rows, void* Cells) {
            if (Row != HeldRow) {
                Source.HoldRows(Row, Rows, Progress);
                HeldRow = Row;
            }
            return FillBlock(Source, Sea, Col, Row, Cols, Rows, static_cast<float*>(Cells));
        },
        Place, Path, Progress, CacheBytes, Options.Jobs);
    std::string Note;
    for (const std::string& Skipped : Found.Skipped) {
        Note += (Note.empty() ? "" : "\n") + Skipped;
    }
    if (Source.SetAside() > 0) {
        Note = Text(TText::ZipOlderSetAside, {std::to_string(Source.SetAside())}) +
               (Note.empty() ? "" : "\n") + Note;
    }
    return Note;
}

} // namespace talvo
