// Opening a GDAL raster and reading its header and values, for a whole read and a read by window.

#include "import/GdalRasterParts.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "import/DecimalTenths.h"
#include "import/FileBytes.h"
#include "import/GdalFailure.h"
#include "import/GdalModuleLoader.h"
#include "platform/Errors.h"
#include "platform/FullPath.h"
#include "platform/Messages.h"
#include "platform/Rounding.h"
#include "platform/TextConvert.h"

namespace talvo {

namespace {

// Metres in a degree of latitude, for the spacing of geographic rasters.
constexpr double MetresPerDegree = 111320.0;

} // namespace

void DescribeRaster(const TalvoGdalRasterInfo& Info, const std::string& Path, TLoadedMap& Map,
                    int64_t MaxCells) {
    if (Info.Complex) {
        throw Placed(ETalvoError(Text(TText::GdalComplex)), Path);
    }
    if (Info.Width < 1 || Info.Height < 1 || int64_t{Info.Width} * Info.Height > MaxCells) {
        throw Placed(ETalvoError(Text(TText::GdalSize,
                                      {std::to_string(Info.Width), std::to_string(Info.Height),
                                       std::to_string(MaxCells)})),
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

namespace {

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

} // namespace

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

TRaster OpenDescribed(const TRasterPlace& Place, TalvoGdalRasterInfo& Info, TLoadedMap& Map,
                      int64_t MaxCells) {
    TRaster Raster = OpenRaster(Place, Info);
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
    DescribeRaster(Info, Place.Named(), Map, MaxCells);
    return Raster;
}

std::string HeightBeyondText(double Raw, const TalvoGdalRasterInfo& Info, int64_t Row,
                             int64_t Col) {
    return Text(TText::GdalHeightBeyond, {ShortestText(Raw * Info.Scale + Info.Offset),
                                          std::to_string(Row), std::to_string(Col)});
}

bool FinerThanTenths(const TalvoGdalRasterInfo& Info) {
    return Info.Floating || Info.Scale != 1.0 || Info.Offset != 0.0;
}

} // namespace talvo
