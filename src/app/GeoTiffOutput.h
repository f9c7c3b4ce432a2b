#pragma once

#include <string>

#include "import/gdal/GdalModuleApi.h"
#include "model/LoadedMap.h"
#include "platform/Bitmap.h"

namespace talvo {

// Raster, laid where Place says (its geotransform and CRS, or its ground control points and
// theirs), as a Cloud Optimized GeoTIFF at Path, made by the GDAL module and written whole or not
// at all. Failures are raised naming Path.
void WriteGeoTiff(TalvoGdalRasterOut Raster, const TGeoreference& Place, const std::string& Path);


// Picture as an RGB GeoTIFF laid where Place says.
void WritePictureGeoTiff(const TBitmap& Picture, const TGeoreference& Place,
                         const std::string& Path);

} // namespace talvo
