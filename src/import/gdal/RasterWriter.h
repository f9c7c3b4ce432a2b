#pragma once

#include "import/gdal/GdalModuleApi.h"

namespace talvo_gdal {

bool WriteGeoTiff(const TalvoGdalRasterOut* Raster, const char* Path, TalvoGdalProgress Progress,
                  void* ProgressData, TalvoGdalFailure* Failure);

} // namespace talvo_gdal
