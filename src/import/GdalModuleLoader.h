#pragma once

#include "import/gdal/GdalModuleApi.h"

namespace talvo {

// The GDAL module, opened on first use from beside the program (or ../lib/talvo when installed)
// and kept for the rest of the run. Raises ETalvoError, naming what is missing, when the module or
// GDAL itself cannot be loaded; the next call tries again.
const TalvoGdalApi& GdalModule();

} // namespace talvo
