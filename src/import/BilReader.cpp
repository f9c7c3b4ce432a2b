// 30-arc-second elevation rasters: a raw data file "NAME.bil" of signed 16-bit metres and a
// header "NAME.hdr" of "KEY value" lines (keys in any case; the value cut at its first ","):
// NBITS, NCOLS, NROWS, ULXMAP and ULYMAP (the centre of the north-west cell, as ESRI, GTOPO30 and
// GDAL read them), XDIM and YDIM (the cell's width and height), BYTEORDER (M: most significant
// byte first) and NODATA. The corners are the cells' outer edges, derived from those. Cells of
// another width or type, several bands or rows laid out otherwise are read by GDAL's EHdr driver.
// A ".prj" beside the file names its CRS; without one it is WGS 84 when its corners are degrees.

#include "import/BilReader.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "import/FileBytes.h"
#include "import/GdalFailure.h"
#include "import/GdalModuleLoader.h"
#include "import/GdalRasterReader.h"
#include "import/PathParts.h"
#include "import/RasterRows.h"
#include "platform/AsciiCase.h"
#include "platform/Errors.h"
#include "platform/FileLookup.h"
#include "platform/FullPath.h"
#include "platform/Messages.h"
#include "platform/TextConvert.h"

namespace talvo {

namespace {

// The value that marks the ocean in 30-second rasters: the documented sea, whatever NODATA says.
constexpr double SeaMetres = -9999.0;
// Far beyond any .prj, which is a line of WKT or a few keyword lines.
constexpr uint64_t MaxPrjBytes = uint64_t{1} << 20;
// Corners computed from a centre and half a cell may stray this far past ±180° or ±90°.
constexpr double DegreeSlack = 1e-9;

// The text before the first ",": "24.000000, 24.004167" reads as 24.0.
std::string_view BeforeComma(std::string_view Value) {
    return Value.substr(0, Value.find(','));
}

std::string_view Trimmed(std::string_view Text) {
    while (!Text.empty() && Text.front() == ' ') {
        Text.remove_prefix(1);
    }
    while (!Text.empty() && Text.back() == ' ') {
        Text.remove_suffix(1);
    }
    return Text;
}

void ParseBilKey(std::string_view Line, TLoadedMap& Map, TBilLayout& Layout) {
    TNum_HeaderRec& H = Map.NumHeader;
    size_t Blank = Line.find(' ');
    if (Blank == std::string_view::npos) {
        return;
    }
    const std::string Key = UpperAscii(Line.substr(0, Blank));
    const std::string_view Value = BeforeComma(Line.substr(Blank + 1));
    if (Key == "NBITS") {
        Layout.Bits = StrToInt(Value);
        H.BytesPerCell = Layout.Bits / 8;
    } else if (Key == "NCOLS") {
        H.Columns = StrToInt(Value);
    } else if (Key == "NROWS") {
        H.Rows = StrToInt(Value);
    } else if (Key == "ULXMAP") {
        H.WestLongitude = StrToFloat(Value);
    } else if (Key == "ULYMAP") {
        H.NorthLatitude = StrToFloat(Value);
    } else if (Key == "YDIM") {
        H.CellWidthLat = StrToFloat(Value);
    } else if (Key == "XDIM") {
        H.CellWidthLon = StrToFloat(Value);
    } else if (Key == "BYTEORDER") {
        // Motorola order: 30-second tiles are distributed this way.
        std::string Order = UpperAscii(Trimmed(Value));
        H.BigEndian = Order == "M" || Order == "MSBFIRST";
    } else if (Key == "NODATA") {
        Layout.NoData = StrToFloat(Value);
    } else if (Key == "NBANDS") {
        Layout.Bands = StrToInt(Value);
    } else if (Key == "PIXELTYPE") {
        Layout.FloatCells = UpperAscii(Trimmed(Value)) == "FLOAT";
    } else if (Key == "SKIPBYTES") {
        Layout.SkipBytes = StrToInt(Value);
    } else if (Key == "BANDROWBYTES" || Key == "TOTALROWBYTES") {
        Layout.RowBytes.push_back(StrToInt(Value));
    }
}

// The documented reader takes one band of signed 16-bit cells, of bytes, or of cells under a
// byte (whose header alone is shown), from the first byte of the file, rows without gaps.
bool DocumentedReaderTakes(const TBilLayout& Layout, const TNum_HeaderRec& H) {
    if (Layout.FloatCells || Layout.Bands > 1 || Layout.SkipBytes != 0 ||
        !(Layout.Bits == 16 || Layout.Bits <= 8)) {
        return false;
    }
    const int64_t RowBytes = int64_t{H.Columns} * H.BytesPerCell;
    return H.BytesPerCell < 1 ||
           std::all_of(Layout.RowBytes.begin(), Layout.RowBytes.end(),
                       [RowBytes](int64_t Given) { return Given == RowBytes; });
}

bool CornersInDegrees(const TNum_HeaderRec& H) {
    auto Within = [](double Value, double Limit) { return std::abs(Value) <= Limit + DegreeSlack; };
    return Within(H.WestLongitude, 180.0) && Within(H.EastLongitude, 180.0) && Within(H.SouthLatitude, 90.0) &&
           Within(H.NorthLatitude, 90.0);
}

// The CRS of the .bil at Path: its .prj's, as GDAL reads it; else WGS 84 when its corners are
// degrees, and none when they are not.
void FindBilCrs(const std::string& Path, TLoadedMap& Map) {
    TNum_HeaderRec& H = Map.NumHeader;
    const bool Degrees = CornersInDegrees(H);
    H.Projected = !Degrees;
    const std::optional<std::string> Prj = FindFileIgnoringCase(WithoutExtension(Path) + ".prj");
    if (!Prj) {
        Map.Georeference.Crs = Degrees ? "EPSG:4326" : "";
        return;
    }
    const TalvoGdalApi* Gdal = nullptr;
    try {
        Gdal = &GdalModule();
    } catch (const ETalvoError&) {
        // Only GDAL reads a .prj. Without it the map names no CRS rather than a wrong one; the
        // cells are still shown in the corners' units.
        Map.Georeference.DegreesAssumed = Degrees;
        return;
    }
    const std::string PrjText(ReadFileBytes(*Prj, MaxPrjBytes).View());
    int Geographic = 0;
    TalvoGdalFailure Failure{};
    const char* Crs = Gdal->PrjCrs(PrjText.c_str(), &Geographic, &Failure);
    if (!Crs) {
        throw Placed(ETalvoError(Failure.Problem == TalvoGdalBadCrs ? Text(TText::PrjNotCrs)
                                                                    : GdalFailureText(Failure)),
                     *Prj);
    }
    Map.Georeference.Crs = Crs;
    H.Projected = Geographic == 0;
}

} // namespace

bool IdentifyBil(const TFileStart& File) {
    return File.UpperExt == ".BIL";
}

TOpenedMap OpenBil(const std::string& Path, TLoadedMap Map, TProgress& Progress) {
    const std::string Header = WithoutExtension(Path) + ".hdr";
    std::optional<std::string> Found = FindFileIgnoringCase(Header);
    if (!Found) {
        return {TOpenOutcome::CompanionMissing, std::move(Map),
                Text(TText::HeaderMissing) + "\n\r" + FullPath(Header)};
    }
    const TNum_HeaderRec Started = Map.NumHeader;
    const TBilLayout Layout = ReadBilHeader(*Found, Map);
    if (!DocumentedReaderTakes(Layout, Map.NumHeader)) {
        Map.NumHeader = Started; // GDAL reads the header afresh
        return OpenGdalRaster(Path, std::move(Map), Progress);
    }
    Map.NumHeader.MapKind = TMapKind::Bil;
    Map.NumHeader.DataFileName = Path;
    FindBilCrs(Path, Map);
    const TOpenOutcome Outcome = ReadRasterFile(*Found, Map, Progress);
    return {Outcome, std::move(Map), {}};
}

TBilLayout ReadBilHeader(const std::string& Path, TLoadedMap& Map) {
    Map.NumHeader.MeshCode.clear();
    TTextFile File(Path);
    return ReadBilLines(File, Map);
}

TBilLayout ReadBilLines(TTextFile& File, TLoadedMap& Map) {
    TNum_HeaderRec& H = Map.NumHeader;
    TBilLayout Layout;
    try {
        while (!File.Eof()) {
            ParseBilKey(File.ReadLine(), Map, Layout);
        }
    } catch (ETalvoError& Error) {
        Error.AddPlace(File.Name(), File.LineNumber());
        throw;
    }
    // ULXMAP and ULYMAP name the centre of the north-west cell; the map keeps its outer edges.
    H.WestLongitude -= H.CellWidthLon / 2;
    H.NorthLatitude += H.CellWidthLat / 2;
    H.SouthLatitude = H.NorthLatitude - H.Rows * H.CellWidthLat;
    H.EastLongitude = H.WestLongitude + H.Columns * H.CellWidthLon;
    // -9999 m stays the documented sea even where NODATA names it; a value no cell can hold
    // marks nothing.
    if (Layout.NoData && *Layout.NoData != SeaMetres &&
        std::trunc(*Layout.NoData) == *Layout.NoData &&
        std::abs(*Layout.NoData) <= INT16_MAX + 1.0) {
        H.NoDataValue = static_cast<int32_t>(*Layout.NoData);
    }
    return Layout;
}

} // namespace talvo
