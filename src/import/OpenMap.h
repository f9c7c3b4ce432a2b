#pragma once

#include <string>

#include "import/OpenedMap.h"
#include "model/MapState.h"

namespace talvo {

// Opens the map file at Path with the reader its name asks for: Global Map headers (EL*, LU*,
// VG*.hdr), 30-second rasters (*.bil), FG-GML DEM tiles (*.xml) and zips of them (*.zip) and the
// rasters GDAL reads (*.tif, *.tiff, *.hgt, *.asc, *.dem, *.img, *.vrt) by their names, every
// other file as a numeric map mesh.
// The new map starts as Previous would be emptied for a load (its cell widths and 3D region
// carried over). Failures are raised naming the file they arose in (a folder is refused) and
// leave Previous as it was.
TOpenedMap OpenMap(const std::string& Path, const MapState& Previous);
TOpenedMap OpenMap(const std::string& Path);

// The 3D view takes maps of this kind.
bool ShownIn3D(const std::string& MapKind);

} // namespace talvo
