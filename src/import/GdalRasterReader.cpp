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
#include <cmath>
#include <memory>
#include <span>
#include <tbb/blocked_range.h>
#include <tbb/parallel_for.h>
#include <vector>

#include "import/DecimalTenths.h"
#include "import/FileBytes.h"
#include "import/GdalFailure.h"
#include "import/GdalModuleLoader.h"
#include "import/ReadLimits.h"
#include "platform/AsciiCase.h"
#include "platform/Errors.h"
#include "platform/FullPath.h"
#include "platform/Messages.h"
#include "platform/Rounding.h"
#include "platform/TextConvert.h"

namespace talvo {

namespace {

// Metres in a degree of latitude, for the spacing of geographic rasters.
constexpr double MetresPerDegree = 111320.0;
// Rows are read in blocks of about this many cells.
constexpr int64_t BlockCells = int64_t{1} << 20;

// The header of Info; the problems that stop the load are raised.
void DescribeRaster(const TalvoGdalRasterInfo& Info, const std::string& Path, TLoadedMap& Map) {
    if (Info.Complex) {
        throw Placed(ETalvoError(Text(TText::GdalComplex)), Path);
    }
    if (Info.Width < 1 || Info.Height < 1 || int64_t{Info.Width} * Info.Height > MaxGridCells) {
        throw Placed(ETalvoError(Text(TText::GdalSize,
                                      {std::to_string(Info.Width), std::to_string(Info.Height),
                                       std::to_string(MaxGridCells)})),
                     Path);
    }
    // Without a geotransform the cells lie at their column and row, north row first.
    const double* T = Info.Transform;
    const double Plain[6] = {0.0, 1.0, 0.0, static_cast<double>(Info.Height), 0.0, -1.0};
    if (!Info.HasTransform) {
        T = Plain;
    }
    if (!std::all_of(T, T + 6, [](double V) { return std::isfinite(V); })) {
        throw Placed(ETalvoError(Text(TText::GdalTransformNaN)), Path);
    }
    if (T[2] != 0.0 || T[4] != 0.0) {
        throw Placed(ETalvoError(Text(TText::GdalRotated)), Path);
    }
    if (!(T[1] > 0.0) || T[5] == 0.0) {
        throw Placed(ETalvoError(Text(TText::GdalNoCellSize)), Path);
    }
    // A unit of the file's own description: a negative one would turn the map over, a huge one
    // take its corners beyond any number.
    const double Unit = Info.Geographic ? Info.DegreesPerUnit : Info.MetresPerUnit;
    if (!(std::isfinite(Unit) && Unit > 0.0)) {
        throw Placed(ETalvoError(Text(TText::GdalUnit, {ShortestText(Unit)})), Path);
    }
    const double CornerUnit = Info.Geographic ? Unit : 1.0;
    const double West = T[0] * CornerUnit;
    const double East = (T[0] + T[1] * Info.Width) * CornerUnit;
    const double Top = T[3] * CornerUnit;
    const double Bottom = (T[3] + T[5] * Info.Height) * CornerUnit;
    const double CellLon = T[1] * CornerUnit;
    const double CellLat = std::abs(T[5]) * CornerUnit;
    const double CellMetres = CellLat * (Info.Geographic ? MetresPerDegree : Unit);
    const double Spacing = RoundHalfEven(CellMetres * 10.0);
    const double Values[] = {West, East, Top, Bottom, CellLon, CellLat};
    if (!std::all_of(std::begin(Values), std::end(Values),
                     [](double V) { return std::isfinite(V); }) ||
        !(Spacing <= INT32_MAX)) {
        throw Placed(ETalvoError(Text(TText::GdalBeyondMap)), Path);
    }
    // North up, as the rows are stored once a south-up raster is turned over.
    Map.Georeference.Transform = {
        T[0], T[1], 0.0, T[5] > 0.0 ? T[3] + T[5] * Info.Height : T[3], 0.0, -std::abs(T[5])};
    Map.Georeference.Georeferenced = Info.HasTransform != 0;
    TNum_HeaderRec& H = Map.NumHeader;
    H.MapKind = TMapKind::Gdal;
    H.Comment = Info.Driver;
    H.DataFileName = Path;
    H.Projected = !Info.Geographic;
    Map.Georeference.MetresPerUnit = Info.Geographic ? 1.0 : Unit;
    H.Columns = Info.Width;
    H.Rows = Info.Height;
    H.BytesPerCell = Info.BytesPerValue;
    H.WestLongitude = West;
    H.EastLongitude = East;
    H.NorthLatitude = std::max(Top, Bottom);
    H.SouthLatitude = std::min(Top, Bottom);
    H.CellWidthLon = CellLon;
    H.CellWidthLat = CellLat;
    H.CellSpacing = static_cast<int32_t>(Spacing);
}

// One row of values as heights, and as metres when Metres is given; the column of the first value
// beyond the grid's range, or -1.
int32_t ConvertRow(const double* Values, int32_t Width, const TalvoGdalRasterInfo& Info,
                   int32_t* Heights, float* Metres) {
    int32_t Beyond = -1;
    for (int32_t C = 0; C < Width; ++C) {
        const double Raw = Values[C];
        if (std::isnan(Raw) || (Info.HasNoData && Raw == Info.NoData)) {
            Heights[C] = NoDataHeight;
            continue;
        }
        const double Value = Raw * Info.Scale + Info.Offset;
        if (Metres) {
            Metres[C] = static_cast<float>(Value);
        }
        const std::optional<int32_t> Height = TenthsOfMetres(Value);
        Heights[C] = Height.value_or(NoDataHeight);
        if (!Height && Beyond < 0) {
            Beyond = C;
        }
    }
    return Beyond;
}

// Every height of Map, as the file gives it, is the float of its tenths.
bool TenthsHoldEveryHeight(const TLoadedMap& Map) {
    const TNum_HeaderRec& H = Map.NumHeader;
    for (int32_t Row = 0; Row < H.Rows; ++Row) {
        const int32_t* Tenths = HeightRow(Map, Row);
        const float* Metres = Map.NumData.SourceHeights.RowData(Row);
        for (int32_t Col = 0; Col < H.Columns; ++Col) {
            if (Tenths[Col] != NoDataHeight && Metres[Col] != MetresOfTenths(Tenths[Col])) {
                return false;
            }
        }
    }
    return true;
}

struct TRasterCloser {
    const TalvoGdalApi* Api;
    void operator()(TalvoGdalRaster* Raster) const { Api->CloseRaster(Raster); }
};

using TRaster = std::unique_ptr<TalvoGdalRaster, TRasterCloser>;

// A raster that names no CRS but whose corners lie within ±180° and ±90° and whose cells are
// under one unit: degrees, as a plain copy of a geographic raster gives.
bool LooksLikeDegrees(const TalvoGdalRasterInfo& Info) {
    if (!Info.HasTransform) {
        return false;
    }
    const double* T = Info.Transform;
    const double Xs[] = {T[0], T[0] + T[1] * Info.Width};
    const double Ys[] = {T[3], T[3] + T[5] * Info.Height};
    auto Within = [](const double* Values, double Limit) {
        return std::isfinite(Values[0]) && std::isfinite(Values[1]) &&
               std::abs(Values[0]) <= Limit && std::abs(Values[1]) <= Limit;
    };
    return Within(Xs, 180.0) && Within(Ys, 90.0) && std::abs(T[1]) < 1.0 && std::abs(T[5]) < 1.0;
}

// Ground control points place the raster when it has no geotransform of its own, or only GDAL's
// default one (0, 1, 0, 0, 0, 1), which is no south-up raster but pixel coordinates.
bool PlacedByGcpsAlone(const TalvoGdalRasterInfo& Info, int64_t GcpCount) {
    const double* T = Info.Transform;
    const bool Default =
        T[0] == 0.0 && T[1] == 1.0 && T[2] == 0.0 && T[3] == 0.0 && T[4] == 0.0 && T[5] == 1.0;
    return GcpCount > 0 && (!Info.HasTransform || Default);
}

// A raster GDAL reads: a file (Entry ""), or the entry Entry of the zip File.
struct TRasterPlace {
    std::string File;
    std::string Entry;

    // As messages name it.
    std::string Named() const { return Entry.empty() ? File : File + "/" + Entry; }
};

TRaster OpenRaster(const TRasterPlace& Place, TalvoGdalRasterInfo& Info) {
    RequireReadableFile(Place.File);
    const TalvoGdalApi& Gdal = GdalModule();
    TalvoGdalFailure Failure{};
    const std::string File = FullPath(Place.File);
    TRaster Raster(Place.Entry.empty()
                       ? Gdal.OpenRaster(File.c_str(), &Info, &Failure)
                       : Gdal.OpenZippedRaster(File.c_str(), Place.Entry.c_str(), &Info, &Failure),
                   TRasterCloser{&Gdal});
    if (!Raster) {
        throw Placed(ETalvoError(GdalFailureText(Failure)), Place.Named());
    }
    return Raster;
}

} // namespace

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
    const TRaster Raster = OpenRaster(Place, Info);
    const TalvoGdalApi& Gdal = GdalModule();
    int64_t GcpCount = 0;
    const TalvoGdalGcp* Gcps = Gdal.RasterGcps(Raster.get(), &GcpCount);
    if (PlacedByGcpsAlone(Info, GcpCount)) {
        // Pixel coordinates: in no CRS, and no degrees.
        Info.HasTransform = 0;
        Info.Geographic = 0;
        Info.MetresPerUnit = 1.0;
        for (const TalvoGdalGcp& Gcp : std::span(Gcps, static_cast<size_t>(GcpCount))) {
            Map.Georeference.Gcps.push_back({Gcp.Pixel, Gcp.Line, Gcp.X, Gcp.Y, Gcp.Z});
        }
        Map.Georeference.GcpCrs = Gdal.RasterGcpCrs(Raster.get());
    } else {
        Map.Georeference.Crs = Gdal.RasterCrs(Raster.get());
    }
    if (Map.Georeference.Crs.empty() && Map.Georeference.Gcps.empty() && LooksLikeDegrees(Info)) {
        // A plain copy of a geographic raster: its shading and 3D need its cells in metres.
        Info.Geographic = 1;
        Info.DegreesPerUnit = 1.0;
        Map.Georeference.DegreesAssumed = true;
    }
    DescribeRaster(Info, Path, Map);
    const int32_t Width = Info.Width;
    const int32_t Height = Info.Height;
    const bool SouthUp = Info.HasTransform && Info.Transform[5] > 0.0;
    Map.RowsRead = 0;
    Map.NumData.RowLineGrid.ReDim(1, Height, false);
    Map.NumData.HeightGrid.ReDim(Height, Width, false);
    // Values that tenths may not hold are kept as the file gives them, until they prove whole
    // tenths.
    const bool Finer = Info.Floating || Info.Scale != 1.0 || Info.Offset != 0.0;
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
                    throw Placed(
                        ETalvoError(Text(TText::GdalHeightBeyond,
                                         {ShortestText(Raw * Info.Scale + Info.Offset),
                                          std::to_string(First + R), std::to_string(Col + C)})),
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
