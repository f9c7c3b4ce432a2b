#pragma once

#include "import/gdal/GdalModuleApi.h"

namespace talvo_gdal {

TalvoGdalLonLat* OpenLonLat(const char* Crs, TalvoGdalFailure* Failure);
bool ConvertLonLat(TalvoGdalLonLat* Conversion, int ToLonLat, int64_t Count, double* X, double* Y,
                   TalvoGdalFailure* Failure);
void CloseLonLat(TalvoGdalLonLat* Conversion);

} // namespace talvo_gdal
