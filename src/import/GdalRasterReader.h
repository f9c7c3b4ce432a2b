#pragma once

#include <string>

#include "import/OpenedMap.h"
#include "model/MapState.h"

namespace talvo {

// Opens band 1 of a raster that GDAL reads (*.tif, *.tiff, *.hgt, *.asc, *.dem, *.img, *.vrt) into
// Map as a load starts it. Raises when GDAL is missing or the raster cannot be a map.
TOpenedMap OpenGdalRaster(const std::string& Path, MapState Map);

} // namespace talvo
