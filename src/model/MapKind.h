#pragma once

#include <cstdint>
#include <optional>

namespace talvo {

// What kind of map was loaded. Everything that depends on the kind asks its traits below, so that
// a new format is one driver and one row of the table.
enum class TMapKind { None, Numeric, Elevation, LandUse, Vegetation, Bil, FgGml, Gdal };

// How the cells become colours.
enum class TColouring {
    None,       // nothing is drawn: the picture stays white
    Elevation,  // heights through the ramp with slope shading
    LandUse,    // class codes 10..90
    Vegetation, // class codes 10..150
};

// Where the map's .e00 layers are looked for.
enum class TOverlayPlace {
    None,           // the map has no mesh code: no layer is its
    BesideMapFile,  // beside the file opened, projected from d.mmss corners
    BesideDataFile, // beside the raster's data file, projected from corners in degrees
};

struct TMapKindTraits {
    const char* Code; // --info's MapKind: "NM", "EL", ...; "" before a map is loaded
    TColouring Colouring;
    bool ShownIn3D;    // the 3D view and --mesh take it
    bool CornersInDms; // the header's corners are d.mmss, not degrees
    TOverlayPlace Overlays;
    bool HeaderBesideData; // the .hdr beside its data file is one of the map's files
    bool ReadThroughGdal;  // read by GDAL: --info names its driver (kept as the comment), and
                           // every file GDAL reads for it is one of the map's files
    const char* Crs;       // the datum its files are published in; "" when the reader finds it
    int HeightDecimals;    // decimals of a height as the source gives it
    std::optional<int32_t> SeaCell;    // the cell value that marks the sea
    std::optional<int32_t> NoDataCell; // the cell value of a cell without data
};

const TMapKindTraits& KindTraits(TMapKind Kind);

// A map has been loaded (not a cleared or empty map).
bool IsMapLoaded(TMapKind Kind);

} // namespace talvo
