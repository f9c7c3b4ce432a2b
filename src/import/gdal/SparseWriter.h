#pragma once

#include "import/gdal/GdalModuleApi.h"

namespace talvo_gdal {

bool WriteSparseGeoTiff(const TalvoGdalRasterOut* Raster, TalvoGdalBlockFill Fill, void* FillData,
                        const char* Path, int64_t CacheBytes, int32_t Threads,
                        TalvoGdalProgress Progress, void* ProgressData, TalvoGdalFailure* Failure);

} // namespace talvo_gdal
