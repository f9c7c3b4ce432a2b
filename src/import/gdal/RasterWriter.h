#pragma once

#include <cstdint>

#include "import/gdal/GdalModuleApi.h"

namespace talvo_gdal {

bool WriteGeoTiff(const TalvoGdalRasterOut* Raster, unsigned char** Bytes, uint64_t* Size,
                  TalvoGdalFailure* Failure);
void FreeBytes(unsigned char* Bytes);

} // namespace talvo_gdal
