#pragma once

#include <string>
#include <vector>

#include "import/FormatDriver.h"
#include "import/ZipArchive.h"
#include "model/LoadedMap.h"
#include "platform/Progress.h"

namespace talvo {

// A zip that holds no FG-GML DEM tile but one raster GDAL reads (an SRTM .hgt.zip as downloaded,
// a zipped GeoTIFF): the raster, by the extensions GDAL's driver takes, must be the zip's only
// one and declare no more than the unpacking limit. The map's file is the zip; messages name
// "ZIP/ENTRY".
TOpenedMap OpenZippedRaster(const TZipArchive& Zip, TLoadedMap Map, TProgress& Progress);

// Every file GDAL reads for the raster of the zip at ZipPath: the zip, and any file beside it that
// the raster names.
std::vector<std::string> ZippedRasterFiles(const std::string& ZipPath);

} // namespace talvo
