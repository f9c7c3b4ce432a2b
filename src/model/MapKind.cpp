#include "model/MapKind.h"

#include <array>
#include <cstddef>

namespace talvo {

namespace {

constexpr auto Rows = std::to_array<TMapKindTraits>({
    // Code  Colouring              3D     Dms    Overlays                        Hdr    Driver Crs
    {"", TColouring::None, false, false, TOverlayPlace::None, false, false, ""},
    {"NM", TColouring::Elevation, true, true, TOverlayPlace::BesideMapFile, false, false,
     "EPSG:4301"},
    {"EL", TColouring::Elevation, true, false, TOverlayPlace::BesideDataFile, false, false,
     "EPSG:4326"},
    {"LU", TColouring::LandUse, false, false, TOverlayPlace::BesideDataFile, false, false,
     "EPSG:4326"},
    {"VG", TColouring::Vegetation, false, false, TOverlayPlace::BesideDataFile, false, false,
     "EPSG:4326"},
    {"BL", TColouring::Elevation, false, false, TOverlayPlace::BesideDataFile, true, false,
     "EPSG:4326"},
    {"FG", TColouring::Elevation, true, false, TOverlayPlace::BesideDataFile, false, false, ""},
    {"GD", TColouring::Elevation, true, false, TOverlayPlace::None, false, true, ""},
});

} // namespace

const TMapKindTraits& KindTraits(TMapKind Kind) {
    return Rows[static_cast<std::size_t>(Kind)];
}

bool IsMapLoaded(TMapKind Kind) {
    return Kind != TMapKind::None;
}

} // namespace talvo
