#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/DimGrid.h"
#include "model/MapKind.h"

namespace talvo {

class TCellWindows;
class TLonLatConversion;

// The most cells a map holds: its grid of 32-bit cells stays within 2 GiB.
constexpr int64_t MaxGridCells = 536870911;

// A cell without data (FG-GML's -9999., a GDAL band's no-data value): -9999 m, which the
// documented colour rules draw as sea.
constexpr int32_t NoDataHeight = -99990;
// A cell its source marks as sea or inland water whatever height it gives (FG-GML's 海水面 and
// 内水面): just below no data, so that both draw in the sea's colour.
constexpr int32_t MarkedSeaHeight = -99991;
// A cell its header's no-data value marks where -9999 m stays the documented sea (a .bil's
// NODATA): below the sea's value, so that both draw in the sea's colour.
constexpr int32_t MarkedNoDataHeight = -99992;

// Tenths of a metre as the single-precision metres an export writes: the float nearest Tenths / 10.
// The product with 0.1 lies within a unit in the last place of double precision of the quotient,
// far nearer than any tenth lies to the midpoint of two floats, so that the two round to the same
// float for every 32-bit value (checked for all of them); a product costs a fraction of a
// division, and the compiler converts several cells at once.
inline float MetresOfTenths(int32_t Tenths) {
    return static_cast<float>(Tenths * 0.1);
}

// Header and description of the loaded map. Text fields hold raw code page 932 bytes. --info and
// the information window show the fields under the labels of the numeric map's header (MapInfo).
struct TNum_HeaderRec {
    std::string MeshCode;
    int32_t SourceScale = 0; // of the map the grid was digitised from
    std::string SurveyYear;
    std::string RevisionYear;
    std::string DigitisedYear;
    int32_t Columns = 0; // cells west to east
    int32_t Rows = 0;    // cells north to south
    // The corners: degrees (a numeric map's d.mmss), or a projected raster's northings and
    // eastings as stored.
    double SouthLatitude = 0.0;
    double WestLongitude = 0.0;
    double NorthLatitude = 0.0;
    double EastLongitude = 0.0;
    int32_t SheetCount = 0; // map sheets the mesh covers, with their names and position flags
    std::array<std::string, 4> SheetNames;
    std::array<std::string, 4> SheetFlags;
    int32_t RecordCount = 0; // records the file's header declares
    std::string Comment;
    std::string RecordFlags;
    int32_t CellSpacing = 0; // tenths of a metre
    int32_t BytesPerCell = 0;
    std::string DataFileName;
    // The file the user opened; a numeric map's overlays are looked for beside it.
    std::string MapFileName;
    // The raster's 2-byte cells are most significant byte first (header key BYTEORDER M).
    bool BigEndian = false;
    // A raster's stored cell value that holds no data (a .bil's NODATA); none when every value is
    // a height.
    std::optional<int32_t> NoDataValue;
    // The corners are a projection's coordinates as stored, not degrees (GDAL rasters).
    bool Projected = false;
    double CellWidthLat = 0.0;
    double CellWidthLon = 0.0;
    TMapKind MapKind = TMapKind::None;
};

struct TNum_DataRec {
    std::string RecCode;
    std::string RecSub;
    // Entry (0, i): the 1-based picture line on which grid row i is drawn.
    TSDelDim RowLineGrid;
    // Cell values: elevations in tenths of a metre, or class codes. 32-bit cells keep
    // elevations above 3276.7 m whole.
    TDelDim HeightGrid;
    // The heights in metres as the source wrote them, cell for cell with HeightGrid, where tenths
    // would lose digits (a 5 m FG-GML tile's centimetres, a floating-point raster); empty (no
    // rows) when tenths hold every value. Sea and no-data cells are told by HeightGrid.
    TDimGrid<float> SourceHeights;
};

// A ground control point: the place (X, Y, Z) in the points' CRS of the raster's pixel and line
// as stored, counted from the edge of its first cell.
struct TGroundControlPoint {
    double Pixel = 0.0;
    double Line = 0.0;
    double X = 0.0;
    double Y = 0.0;
    double Z = 0.0;
};

// Where the grid lies on the earth.
struct TGeoreference {
    // "EPSG:N", or the raster's own WKT; "" when the file says nothing of it.
    std::string Crs;
    // The datum's name as the file gives it, where it differs from the name of Crs's own datum
    // (an FG-GML tile labelled JGD2024 is EPSG:6668, JGD2011's code); "" for none. A CRS given in
    // place of the map's own clears it.
    std::string Datum;
    // Cell edges to coordinates, in GDAL's order: x = T0 + col T1 + row T2, y = T3 + col T4 + row
    // T5, in the CRS's units (degrees for the documented formats).
    std::array<double, 6> Transform{};
    // The raster has a geotransform (or its format's own corners); without one its cells lie
    // at their pixel and line, which is all a readout can say of them.
    bool Georeferenced = true;
    // A projected map's unit of Transform in metres (a foot's 0.3048); 1 for every other map.
    double MetresPerUnit = 1.0;
    // The raster named no CRS, and its corners and cells were taken as degrees.
    bool DegreesAssumed = false;
    // A raster placed by ground control points alone: Talvo does not apply them (it draws the
    // cells as stored, on their columns and rows, with no CRS) but passes them on in an export.
    std::vector<TGroundControlPoint> Gcps;
    std::string GcpCrs; // the points' CRS as Crs gives one; "" when the file names none
    // A projected map's way to longitude and latitude on WGS 84 and back; none for a map in
    // degrees, whose own are read out, or without a CRS.
    std::shared_ptr<const TLonLatConversion> LonLat;
};

// A map as a reader returns it; shared read-only once loaded.
struct TLoadedMap {
    TNum_HeaderRec NumHeader;
    TNum_DataRec NumData;
    // Rows 0 to RowsRead - 1 of the grids hold data of the map.
    int32_t RowsRead = 0;
    TGeoreference Georeference;
    // The files a mosaic was laid from, each a tile or a zip of tiles; none for a map of one file.
    std::vector<std::string> MosaicFiles;
    // A map too large to hold: its cells are read by window from here, and the grids hold none
    // (RowsRead 0); the header describes the whole map. Null for a map read whole.
    std::shared_ptr<const TCellWindows> Windows;
};

// Row Row of HeightGrid, to be visited for its first Columns cells. The grid's own over-range
// error is raised when the row is missing or narrower than Columns (after a failed load).
const int32_t* HeightRow(const TLoadedMap& Map, int32_t Row);
int32_t* HeightRow(TLoadedMap& Map, int32_t Row);

// For each of Lines lines of the map's picture, the grid row shown on it: the last row that names
// it, as when rows are drawn one after another; -1 where no row does.
std::vector<int32_t> LineRows(const TLoadedMap& Map, int32_t Lines);

// An empty map: both grids 1 × 1 holding 0, nothing loaded.
void InitLoadedMap(TLoadedMap& Map);

// A new map as a load starts it: grids 1 × 1, nothing read, but the cell widths of Previous,
// which a load keeps until a reader replaces them.
TLoadedMap StartLoadedMap(const TLoadedMap& Previous);

// The map's south, west, north and east edges in its CRS's units (degrees for the documented
// formats: a numeric map's d.mmss corners converted).
struct TBounds {
    long double South = 0, West = 0, North = 0, East = 0;
};
TBounds BoundsOf(const TNum_HeaderRec& Header);

// The cell-to-coordinate transform of a grid that spans Bounds edge to edge.
std::array<double, 6> TransformOfBounds(const TNum_HeaderRec& Header);

} // namespace talvo
