#include "app/HeightExport.h"

#include <algorithm>
#include <vector>

#include "app/GeoTiffOutput.h"
#include "import/GdalModuleLoader.h"
#include "model/CellCounts.h"
#include "platform/Errors.h"
#include "platform/Messages.h"

namespace talvo {

namespace {

// The value of a cell without data in every export: what the converters users know write.
constexpr double NoDataValue = -9999.0;

// Map's cells in picture order (north row first), each as Convert makes it, or NoData where a
// line has no row read.
template <typename TCell, typename TConvert>
std::vector<TCell> ExportCells(const TLoadedMap& Map, TCell NoData, TConvert Convert,
                               TProgress& Progress) {
    const TNum_HeaderRec& H = Map.NumHeader;
    const std::vector<int32_t> Rows = LineRows(Map, H.Rows);
    std::vector<TCell> Cells(static_cast<size_t>(H.Columns) * static_cast<size_t>(H.Rows));
    for (int32_t Line = 0; Line < H.Rows; ++Line) {
        if (Line % 256 == 0) {
            Progress.StopIfCancelled();
        }
        TCell* Out = Cells.data() + static_cast<size_t>(Line) * static_cast<size_t>(H.Columns);
        const int32_t Row = Rows[static_cast<size_t>(Line)];
        if (Row < 0) {
            std::fill_n(Out, H.Columns, NoData);
            continue;
        }
        const int32_t* Tenths = HeightRow(Map, Row);
        for (int32_t Col = 0; Col < H.Columns; ++Col) {
            Out[Col] = Convert(Tenths[Col], Row, Col);
        }
    }
    return Cells;
}

// Raster with Cells of CellType, overviews made as Overview says, laid where Place says, at Path.
void WriteCells(TalvoGdalRasterOut Raster, TalvoGdalCellType CellType, const char* Overview,
                const void* Cells, const TGeoreference& Place, const std::string& Path) {
    Raster.CellType = CellType;
    Raster.Cells = Cells;
    Raster.Overview = Overview;
    WriteGeoTiff(Raster, Place, Path);
}

} // namespace

void ExportHeights(const TLoadedMap& Map, const THeightExport& Options, const std::string& Path,
                   TProgress& Progress) {
    const TNum_HeaderRec& H = Map.NumHeader;
    const TMapKindTraits& Traits = KindTraits(H.MapKind);
    if (Traits.Colouring == TColouring::None || Map.RowsRead == 0 || H.Columns <= 0 ||
        H.Rows <= 0) {
        throw Placed(ETalvoError(Text(TText::NothingToExport)), H.MapFileName);
    }
    TalvoGdalRasterOut Raster{};
    Raster.Width = H.Columns;
    Raster.Height = H.Rows;
    Raster.Bands = 1;
    Raster.HasNoData = 1;
    Raster.NoData = NoDataValue;
    Progress.Start(2);
    if (Traits.Colouring == TColouring::Elevation) {
        const auto NoData = static_cast<float>(NoDataValue);
        const auto Sea = static_cast<float>(Options.Sea.value_or(NoDataValue));
        const std::vector<float> Cells = ExportCells<float>(
            Map, NoData,
            [&](int32_t Tenths, int32_t Row, int32_t Col) {
                if (Traits.SeaCell == Tenths) {
                    return Sea;
                }
                return Traits.NoDataCell == Tenths ? NoData : SourceValue(Map, Row, Col);
            },
            Progress);
        Progress.Advance(1);
        WriteCells(Raster, TalvoGdalFloat32, "AVERAGE", Cells.data(), Map.Georeference, Path);
    } else {
        // Class codes: a byte each in the files, so that 16 bits hold them and the no-data value.
        const auto NoData = static_cast<int16_t>(NoDataValue);
        const std::vector<int16_t> Cells = ExportCells<int16_t>(
            Map, NoData,
            [](int32_t Code, int32_t, int32_t) {
                return Code >= INT16_MIN && Code <= INT16_MAX ? static_cast<int16_t>(Code)
                                                              : static_cast<int16_t>(NoDataValue);
            },
            Progress);
        Progress.Advance(1);
        WriteCells(Raster, TalvoGdalInt16, "NEAREST", Cells.data(), Map.Georeference, Path);
    }
    Progress.Advance(1);
}

void PrepareExport() {
    GdalModule();
}

} // namespace talvo
