#include "model/MapKind.h"

#include <array>
#include <cstddef>

#include "model/LoadedMap.h"

namespace talvo {

namespace {

// A numeric map marks the sea with -999.9 m; Global Map and .bil rasters mark the ocean with
// -9999 m, which FG-GML and GDAL rasters use for no data. A .bil finds its CRS itself (its .prj,
// else WGS 84 when its corners are degrees).
constexpr int32_t NmSea = -9999;
constexpr std::optional<int32_t> None;

// clang-format off
constexpr auto Rows = std::to_array<TMapKindTraits>({
    // Code Colouring  3D   Dms  Overlays  Hdr  Driver Crs  Decimals  Sea  NoData
    {"", TColouring::None, false, false, TOverlayPlace::None, false, false, "", 0, None, None},
    {"NM", TColouring::Elevation, true, true, TOverlayPlace::BesideMapFile, false, false,
     "EPSG:4301", 1, NmSea, None},
    {"EL", TColouring::Elevation, true, false, TOverlayPlace::BesideDataFile, false, false,
     "EPSG:4326", 0, NoDataHeight, None},
    {"LU", TColouring::LandUse, false, false, TOverlayPlace::BesideDataFile, false, false,
     "EPSG:4326", 0, None, None},
    {"VG", TColouring::Vegetation, false, false, TOverlayPlace::BesideDataFile, false, false,
     "EPSG:4326", 0, None, None},
    {"BL", TColouring::Elevation, false, false, TOverlayPlace::BesideDataFile, true, false,
     "", 0, NoDataHeight, MarkedNoDataHeight},
    {"FG", TColouring::Elevation, true, false, TOverlayPlace::BesideDataFile, false, false,
     "", 1, MarkedSeaHeight, NoDataHeight},
    {"GD", TColouring::Elevation, true, false, TOverlayPlace::None, false, true,
     "", 1, None, NoDataHeight},
});
// clang-format on

} // namespace

const TMapKindTraits& KindTraits(TMapKind Kind) {
    return Rows[static_cast<std::size_t>(Kind)];
}

bool IsMapLoaded(TMapKind Kind) {
    return Kind != TMapKind::None;
}

} // namespace talvo
