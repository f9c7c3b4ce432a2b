#pragma once

#include <string>

#include "import/gdal/GdalModuleApi.h"

namespace talvo {

// The program's words for a failure the GDAL module reports.
std::string GdalFailureText(const TalvoGdalFailure& Failure);

} // namespace talvo
