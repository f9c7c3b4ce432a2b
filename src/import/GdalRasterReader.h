#pragma once

#include <string>
#include <vector>

#include "import/OpenedMap.h"
#include "model/MapState.h"

namespace talvo {

// Opens band 1 of a raster that GDAL reads (*.tif, *.tiff, *.hgt, *.asc, *.dem, *.img, *.vrt) into
// Map as a load starts it. Raises when GDAL is missing or the raster cannot be a map.
TOpenedMap OpenGdalRaster(const std::string& Path, MapState Map);

// Every file GDAL reads for the raster at Path: the file, its sources and its sidecars. Raises as
// OpenGdalRaster does.
std::vector<std::string> GdalRasterFiles(const std::string& Path);

} // namespace talvo
