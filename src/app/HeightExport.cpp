#include "app/HeightExport.h"

#include <algorithm>
#include <vector>

#include "app/GeoTiffOutput.h"
#include "app/ReliefExport.h"
#include "import/GdalFailure.h"
#include "import/GdalModuleLoader.h"
#include "import/GdalRasterReader.h"
#include "import/OpenMap.h"
#include "model/CellCounts.h"
#include "platform/Errors.h"
#include "platform/Messages.h"

namespace talvo {

namespace {

// The value of a cell without data in every export: what the converters users know write.
constexpr double NoDataValue = -9999.0;

// Fills cells of a line of Map in picture order (north line first), each as Convert makes it, or
// NoData where the line has no row read; Rows are the lines' rows, as LineRows gives them.
template <typename TCell, typename TConvert>
TRowFill LineFill(const TLoadedMap& Map, const std::vector<int32_t>& Rows, TCell NoData,
                  TConvert Convert) {
    return [&Map, &Rows, NoData, Convert](int32_t, int32_t Line, int32_t First, int32_t Cols,
                                          void* Cells) {
        TCell* Out = static_cast<TCell*>(Cells);
        const int32_t Row = Rows[static_cast<size_t>(Line)];
        if (Row < 0) {
            std::fill_n(Out, Cols, NoData);
            return;
        }
        const int32_t* Tenths = HeightRow(Map, Row);
        for (int32_t Col = First; Col < First + Cols; ++Col) {
            *Out++ = Convert(Tenths[Col], Row, Col);
        }
    };
}

} // namespace

void ExportHeights(const TLoadedMap& Map, const THeightExport& Options, const std::string& Path,
                   TProgress& Progress) {
    if (Options.Relief) {
        ExportRelief(Map, *Options.Relief, Options.Sea, Path, Progress);
        return;
    }
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
    const std::vector<int32_t> Rows = LineRows(Map, H.Rows);
    if (Traits.Colouring == TColouring::Elevation) {
        const auto NoData = static_cast<float>(NoDataValue);
        const auto Sea = static_cast<float>(Options.Sea.value_or(NoDataValue));
        Raster.CellType = TalvoGdalFloat32;
        Raster.Overview = "AVERAGE";
        WriteGeoTiff(Raster,
                     LineFill<float>(Map, Rows, NoData,
                                     [&](int32_t Tenths, int32_t Row, int32_t Col) {
                                         if (Traits.SeaCell == Tenths) {
                                             return Sea;
                                         }
                                         return Traits.NoDataCell == Tenths
                                                    ? NoData
                                                    : SourceValue(Map, Row, Col);
                                     }),
                     Map.Georeference, Path, Progress);
    } else {
        // Class codes: a byte each in the files, so that 16 bits hold them and the no-data value.
        Raster.CellType = TalvoGdalInt16;
        Raster.Overview = "NEAREST";
        WriteGeoTiff(Raster,
                     LineFill<int16_t>(Map, Rows, static_cast<int16_t>(NoDataValue),
                                       [](int32_t Code, int32_t, int32_t) {
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
