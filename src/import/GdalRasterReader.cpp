// Rasters GDAL reads (GeoTIFF, SRTM .hgt, ASCII grids, .dem, .img, .vrt), through the GDAL module
// opened only now. Band 1 holds heights: its scale and offset applied, its no-data value and NaN
// taken as no data, each value rounded to tenths of a metre. The geotransform must be north-up:
// a south-up raster's rows are turned over, a rotated one is refused. Geographic corners are kept
// in degrees, projected ones as stored; CellSpacing comes from the north–south cell size. A raster
// placed by ground control points alone is drawn as stored, on its columns and rows, with no CRS;
// its points are kept for an export. There is no mesh code, so no overlay is drawn; the driver's
// name is the comment.

#include "import/GdalRasterReader.h"

#include <algorithm>
#include <limits>
#include <tbb/blocked_range.h>
#include <tbb/parallel_for.h>
#include <vector>

#include "import/GdalCellWindows.h"
#include "import/GdalFailure.h"
#include "import/GdalModuleLoader.h"
#include "import/GdalRasterParts.h"
#include "platform/AsciiCase.h"
#include "platform/Errors.h"

namespace talvo {

bool IdentifyGdalRaster(const TFileStart& File) {
    for (std::string_view Ext : {".TIF", ".TIFF", ".HGT", ".ASC", ".DEM", ".IMG", ".VRT"}) {
        if (File.UpperExt == Ext) {
            return true;
        }
    }
    // GeoTIFF and BigTIFF either way round, Erdas Imagine, a VRT, an ASCII grid.
    std::string_view Text = File.Bytes;
    for (std::string_view Signature :
         {std::string_view("II*\0", 4), std::string_view("MM\0*", 4), std::string_view("II+\0", 4),
          std::string_view("MM\0+", 4), std::string_view("EHFA_HEADER_TAG")}) {
        if (Text.starts_with(Signature)) {
            return true;
        }
    }
    Text.remove_prefix(std::min(Text.find_first_not_of(" \t\r\n"), Text.size()));
    return Text.starts_with("<VRTDataset") || UpperAscii(Text.substr(0, 5)) == "NCOLS";
}

namespace {

TOpenedMap ReadRaster(const TRasterPlace& Place, TLoadedMap Map, TProgress& Progress) {
    const std::string Path = Place.Named();
    TalvoGdalRasterInfo Info{};
    TRaster Raster = OpenDescribed(Place, Info, Map, std::numeric_limits<int64_t>::max());
    if (int64_t{Info.Width} * Info.Height > WholeRasterCells) {
        return WindowedRaster(std::move(Raster), Info, Place, std::move(Map));
    }
    const TalvoGdalApi& Gdal = GdalModule();
    const int32_t Width = Info.Width;
    const int32_t Height = Info.Height;
    const bool SouthUp = Info.HasTransform && Info.Transform[5] > 0.0;
    Map.RowsRead = 0;
    Map.NumData.RowLineGrid.ReDim(1, Height, false);
    Map.NumData.HeightGrid.ReDim(Height, Width, false);
    // Values that tenths may not hold are kept as the file gives them, until they prove whole
    // tenths.
    const bool Finer = FinerThanTenths(Info);
    if (Finer) {
        Map.NumData.SourceHeights.SetDim(Height, Width);
    }

    // Blocks of whole rows, or of one row's columns when a row alone is longer than a block.
    const auto BlockRows = static_cast<int32_t>(std::clamp<int64_t>(BlockCells / Width, 1, Height));
    const auto BlockCols = static_cast<int32_t>(std::min<int64_t>(Width, BlockCells));
    std::vector<double> Values(static_cast<size_t>(BlockRows) * static_cast<size_t>(BlockCols));
    std::vector<int32_t> Beyond(static_cast<size_t>(BlockRows));
    Progress.Start(Height);
    TalvoGdalFailure Failure{};
    for (int32_t First = 0; First < Height; First += BlockRows) {
        Progress.StopIfCancelled();
        const int32_t Count = std::min(BlockRows, Height - First);
        for (int32_t Col = 0; Col < Width; Col += BlockCols) {
            const int32_t Cols = std::min(BlockCols, Width - Col);
            if (!Gdal.ReadCells(Raster.get(), Col, First, Cols, Count, Values.data(), &Failure)) {
                throw Placed(ETalvoError(GdalFailureText(Failure)), Path);
            }
            tbb::parallel_for(tbb::blocked_range<int32_t>(0, Count), [&](const auto& Rows) {
                for (int32_t R = Rows.begin(); R != Rows.end(); ++R) {
                    const int32_t Row = SouthUp ? Height - 1 - (First + R) : First + R;
                    Beyond[static_cast<size_t>(R)] = ConvertRow(
                        Values.data() + static_cast<size_t>(R) * static_cast<size_t>(Cols), Cols,
                        Info, HeightRow(Map, Row) + Col,
                        Finer ? Map.NumData.SourceHeights.RowData(Row) + Col : nullptr);
                }
            });
            for (int32_t R = 0; R < Count; ++R) {
                if (const int32_t C = Beyond[static_cast<size_t>(R)]; C >= 0) {
                    const double Raw = Values[static_cast<size_t>(R) * static_cast<size_t>(Cols) +
                                              static_cast<size_t>(C)];
                    throw Placed(ETalvoError(HeightBeyondText(Raw, Info, First + R, Col + C)),
                                 Path);
                }
            }
        }
        Progress.Advance(Count);
    }
    for (int32_t Row = 0; Row < Height; ++Row) {
        Map.NumData.RowLineGrid.SetVal(0, Row, Row + 1);
    }
    Map.RowsRead = Height;
    if (Finer && TenthsHoldEveryHeight(Map)) {
        Map.NumData.SourceHeights.ClearDim();
    }
    return {TOpenOutcome::Loaded, std::move(Map), {}};
}

std::vector<std::string> RasterFiles(const TRasterPlace& Place) {
    TalvoGdalRasterInfo Info{};
    const TRaster Raster = OpenRaster(Place, Info);
    const TalvoGdalApi& Gdal = GdalModule();
    std::vector<std::string> Files;
    for (int64_t Index = 0; Index < Gdal.RasterFileCount(Raster.get()); ++Index) {
        Files.emplace_back(Gdal.RasterFileName(Raster.get(), Index));
    }
    return Files;
}

} // namespace

TOpenedMap OpenGdalRaster(const std::string& Path, TLoadedMap Map, TProgress& Progress) {
    return ReadRaster({Path, ""}, std::move(Map), Progress);
}

TRasterSize GdalRasterSize(const std::string& Path) {
    TalvoGdalRasterInfo Info{};
    OpenRaster({Path, ""}, Info);
    return {Info.Width, Info.Height};
}

std::vector<std::string> GdalRasterFiles(const std::string& Path) {
    return RasterFiles({Path, ""});
}

TOpenedMap OpenGdalRasterInZip(const std::string& ZipPath, const std::string& Entry, TLoadedMap Map,
                               TProgress& Progress) {
    return ReadRaster({ZipPath, Entry}, std::move(Map), Progress);
}

std::vector<std::string> GdalRasterFilesInZip(const std::string& ZipPath,
                                              const std::string& Entry) {
    return RasterFiles({ZipPath, Entry});
}

} // namespace talvo
