// Rasters GDAL reads (GeoTIFF, SRTM .hgt, ASCII grids, .dem, .img, .vrt), through the GDAL module
// opened only now. Band 1 holds heights: its scale and offset applied, its no-data value and NaN
// taken as no data, each value rounded to tenths of a metre. The geotransform must be north-up:
// a south-up raster's rows are turned over, a rotated one is refused. Geographic corners are kept
// in degrees, projected ones as stored; CellSpacing comes from the north–south cell size. There is
// no mesh code, so no overlay is drawn; the driver's name is the comment.

#include "import/GdalRasterReader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>
#include <tbb/blocked_range.h>
#include <tbb/parallel_for.h>
#include <vector>

#include "import/DecimalTenths.h"
#include "import/FileBytes.h"
#include "import/GdalModuleLoader.h"
#include "import/ReadError.h"
#include "import/ReadLimits.h"
#include "platform/AsciiCase.h"
#include "platform/Messages.h"
#include "platform/Rounding.h"

namespace talvo {

namespace {

// Metres in a degree of latitude, for the spacing of geographic rasters.
constexpr double MetresPerDegree = 111320.0;
// Rows are read in blocks of about this many cells.
constexpr int64_t BlockCells = int64_t{1} << 20;

// The header of Info; the problems that stop the load are raised.
void DescribeRaster(const TalvoGdalRasterInfo& Info, const std::string& Path, TLoadedMap& Map) {
    if (Info.Complex) {
        throw ReadError(Text(TText::GdalComplex), Path);
    }
    if (Info.Width < 1 || Info.Height < 1 || int64_t{Info.Width} * Info.Height > MaxGridCells) {
        throw ReadError(
            Text(TText::GdalSize, {std::to_string(Info.Width), std::to_string(Info.Height),
                                   std::to_string(MaxGridCells)}),
            Path);
    }
    // Without a geotransform the cells lie at their column and row, north row first.
    const double* T = Info.Transform;
    const double Plain[6] = {0.0, 1.0, 0.0, static_cast<double>(Info.Height), 0.0, -1.0};
    if (!Info.HasTransform) {
        T = Plain;
    }
    if (!std::all_of(T, T + 6, [](double V) { return std::isfinite(V); })) {
        throw ReadError(Text(TText::GdalTransformNaN), Path);
    }
    if (T[2] != 0.0 || T[4] != 0.0) {
        throw ReadError(Text(TText::GdalRotated), Path);
    }
    if (!(T[1] > 0.0) || T[5] == 0.0) {
        throw ReadError(Text(TText::GdalNoCellSize), Path);
    }
    const double Unit = Info.Geographic ? Info.DegreesPerUnit : 1.0;
    const double West = T[0] * Unit;
    const double East = (T[0] + T[1] * Info.Width) * Unit;
    const double Top = T[3] * Unit;
    const double Bottom = (T[3] + T[5] * Info.Height) * Unit;
    // North up, as the rows are stored once a south-up raster is turned over.
    Map.Georeference.Transform = {
        T[0], T[1], 0.0, T[5] > 0.0 ? T[3] + T[5] * Info.Height : T[3], 0.0, -std::abs(T[5])};
    TNum_HeaderRec& H = Map.NumHeader;
    H.MapKind = TMapKind::Gdal;
    H.Comment = Info.Driver;
    H.DataFileName = Path;
    H.Projected = !Info.Geographic;
    H.Pts_WE = Info.Width;
    H.Pts_NS = Info.Height;
    H.BytesPerCell = Info.BytesPerValue;
    H.Kei_WS = West;
    H.Kei_EN = East;
    H.Ido_EN = std::max(Top, Bottom);
    H.Ido_WS = std::min(Top, Bottom);
    H.CellWidthLon = T[1] * Unit;
    H.CellWidthLat = std::abs(T[5]) * Unit;
    const double CellMetres =
        Info.Geographic ? H.CellWidthLat * MetresPerDegree : H.CellWidthLat * Info.MetresPerUnit;
    const double Spacing = RoundHalfEven(CellMetres * 10.0);
    H.CellSpacing = Spacing < INT32_MAX ? static_cast<int32_t>(Spacing) : INT32_MAX;
}

// One row of values as heights; the column of the first value beyond the grid's range, or -1.
int32_t ConvertRow(const double* Values, int32_t Width, const TalvoGdalRasterInfo& Info,
                   int32_t* Heights) {
    int32_t Beyond = -1;
    for (int32_t C = 0; C < Width; ++C) {
        const double Raw = Values[C];
        if (std::isnan(Raw) || (Info.HasNoData && Raw == Info.NoData)) {
            Heights[C] = NoDataHeight;
            continue;
        }
        const std::optional<int32_t> Height = TenthsOfMetres(Raw * Info.Scale + Info.Offset);
        Heights[C] = Height.value_or(NoDataHeight);
        if (!Height && Beyond < 0) {
            Beyond = C;
        }
    }
    return Beyond;
}

std::string Shortest(double Value) {
    char Text[64];
    return std::string(Text, std::to_chars(Text, Text + sizeof Text, Value).ptr);
}

struct TRasterCloser {
    const TalvoGdalApi* Api;
    void operator()(TalvoGdalRaster* Raster) const { Api->CloseRaster(Raster); }
};

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

TOpenedMap OpenGdalRaster(const std::string& Path, TLoadedMap Map, TProgress& Progress) {
    RequireReadableFile(Path);
    const TalvoGdalApi& Gdal = GdalModule();
    TalvoGdalRasterInfo Info{};
    char Message[TalvoGdalMessageBytes] = "";
    const std::unique_ptr<TalvoGdalRaster, TRasterCloser> Raster(
        Gdal.OpenRaster(Path.c_str(), &Info, Message), TRasterCloser{&Gdal});
    if (!Raster) {
        throw ReadError(Message, Path);
    }
    DescribeRaster(Info, Path, Map);
    Map.Georeference.Crs = Gdal.RasterCrs(Raster.get());
    const int32_t Width = Info.Width;
    const int32_t Height = Info.Height;
    const bool SouthUp = Info.HasTransform && Info.Transform[5] > 0.0;
    Map.RowsRead = 0;
    Map.NumData.RowLineGrid.ReDim(1, Height, false);
    Map.NumData.HeightGrid.ReDim(Height, Width, false);

    const auto BlockRows = static_cast<int32_t>(std::clamp<int64_t>(BlockCells / Width, 1, Height));
    std::vector<double> Values(static_cast<size_t>(BlockRows) * static_cast<size_t>(Width));
    std::vector<int32_t> Beyond(static_cast<size_t>(BlockRows));
    Progress.Start(Height);
    for (int32_t First = 0; First < Height; First += BlockRows) {
        Progress.StopIfCancelled();
        const int32_t Count = std::min(BlockRows, Height - First);
        if (!Gdal.ReadRows(Raster.get(), First, Count, Values.data(), Message)) {
            throw ReadError(Message, Path);
        }
        tbb::parallel_for(tbb::blocked_range<int32_t>(0, Count), [&](const auto& Rows) {
            for (int32_t R = Rows.begin(); R != Rows.end(); ++R) {
                const int32_t Row = SouthUp ? Height - 1 - (First + R) : First + R;
                Beyond[static_cast<size_t>(R)] =
                    ConvertRow(Values.data() + static_cast<size_t>(R) * static_cast<size_t>(Width),
                               Width, Info, HeightRow(Map, Row));
            }
        });
        for (int32_t R = 0; R < Count; ++R) {
            if (const int32_t C = Beyond[static_cast<size_t>(R)]; C >= 0) {
                const double Raw = Values[static_cast<size_t>(R) * static_cast<size_t>(Width) +
                                          static_cast<size_t>(C)];
                throw ReadError(
                    Text(TText::GdalHeightBeyond, {Shortest(Raw * Info.Scale + Info.Offset),
                                                   std::to_string(First + R), std::to_string(C)}),
                    Path);
            }
        }
        Progress.Advance(Count);
    }
    for (int32_t Row = 0; Row < Height; ++Row) {
        Map.NumData.RowLineGrid.SetVal(0, Row, Row + 1);
    }
    Map.RowsRead = Height;
    return {TOpenOutcome::Loaded, std::move(Map), {}};
}

} // namespace talvo
