#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/DimGrid.h"
#include "model/OverlayLayers.h"

namespace talvo {

// One polyline vertex: Seq 0 starts an arc, any other value continues it.
struct OverlayPoint {
    int32_t Seq = 0;
    double Lat = 0.0;
    double Lon = 0.0;
};

// Kinds of map, as stored in TNum_HeaderRec::MapKind.
constexpr const char* MapKindNumeric = "NM";
constexpr const char* MapKindElevation = "EL";
constexpr const char* MapKindLandUse = "LU";
constexpr const char* MapKindVegetation = "VG";
constexpr const char* MapKindBil = "BL";
constexpr const char* MapKindFgGml = "FG";
constexpr const char* MapKindGdal = "GD";

// A cell without data (FG-GML's -9999., a GDAL band's no-data value): -9999 m, which the
// documented colour rules draw as sea.
constexpr int32_t NoDataHeight = -99990;

// Header and description of the loaded map. Text fields hold raw code page 932 bytes.
struct TNum_HeaderRec {
    std::string MeshCode;
    int32_t Org_Scale = 0;
    std::string Org_Surv;
    std::string Org_Mod;
    std::string NumericY;
    int32_t Pts_WE = 0;
    int32_t Pts_NS = 0;
    double Ido_WS = 0.0;
    double Kei_WS = 0.0;
    double Ido_EN = 0.0;
    double Kei_EN = 0.0;
    int32_t Zuyou_Su = 0;
    std::array<std::string, 4> Zu_name;
    std::array<std::string, 4> Zu_Flg;
    int32_t RecCnt = 0;
    std::string Comment;
    std::string RecFlg;
    int32_t CellSpacing = 0; // tenths of a metre
    int32_t BytesPerCell = 0;
    std::string DataFileName;
    // The file the user opened; a numeric map's overlays are looked for beside it.
    std::string MapFileName;
    // The raster's 2-byte cells are most significant byte first (header key BYTEORDER M).
    bool BigEndian = false;
    // The corners are a projection's coordinates as stored, not degrees (GDAL rasters).
    bool Projected = false;
    double CellWidthLat = 0.0;
    double CellWidthLon = 0.0;
    std::string MapKind;
    std::array<std::vector<OverlayPoint>, OverlayLayerCount> OverlayLists;
    std::array<bool, OverlayLayerCount> OverlayLoaded{};
    int32_t D3StartX = 0;
    int32_t D3StartY = 0;
    int32_t D3SizeX = 0;
    int32_t D3SizeY = 0;
    int32_t D3Step = 0;
    float D3HScale = 0.0f;
};

struct TNum_DataRec {
    std::string RecCode;
    std::string RecSub;
    // Entry (0, i): the 1-based picture line on which grid row i is drawn.
    TSDelDim RowLineGrid;
    // Cell values: elevations in tenths of a metre, or class codes. 32-bit cells keep
    // elevations above 3276.7 m whole.
    TDelDim HeightGrid;
};

// The one document of the program: everything known about the map that is loaded.
struct MapState {
    TNum_HeaderRec NumHeader;
    TNum_DataRec NumData;
    // Rows 0 to RowsRead - 1 of the grids hold data of the current map.
    int32_t RowsRead = 0;
};

// A region of the grid for the 3D view: first column and row, width and height in cells, the
// step between samples and the height scale.
struct T3DRegion {
    int32_t StartX = 0;
    int32_t StartY = 0;
    int32_t SizeX = 0;
    int32_t SizeY = 0;
    int32_t Step = 0;
    float HScale = 0.0f;
};

// The region in the map's 3D fields, and the fields set from a region.
T3DRegion RegionOf(const TNum_HeaderRec& Header);
void Set3DRegion(TNum_HeaderRec& Header, const T3DRegion& Region);

// Row Row of HeightGrid, to be visited for its first Pts_WE cells. The grid's own over-range
// error is raised when the row is missing or narrower than Pts_WE (after a failed load).
const int32_t* HeightRow(const MapState& Map, int32_t Row);
int32_t* HeightRow(MapState& Map, int32_t Row);

// Start-up: both grids 1 × 1 holding 0, no overlays, nothing loaded.
void InitMapState(MapState& Map);
// Before every load: header, kind, file names, byte order and overlays emptied. The grids,
// RowsRead, the cell widths of the last raster and the 3D region stay until a reader or the 3D view
// replaces them.
void ResetMapState(MapState& Map);

// A new map as a load starts it: grids 1 × 1, nothing read, but the cell widths and the 3D region
// of Previous, which a load keeps until a reader or the 3D view replaces them.
MapState StartMapState(const MapState& Previous);

} // namespace talvo
