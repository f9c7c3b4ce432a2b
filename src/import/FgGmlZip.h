#pragma once

#include <string>

#include "import/OpenedMap.h"
#include "model/MapState.h"

namespace talvo {

// Opens a zip of FG-GML DEM tiles (*.zip) as one map, into Map as a load starts it. Raises when
// GDAL, which reads the archive, is missing, and for every tile or archive that cannot be read.
TOpenedMap OpenFgGmlZip(const std::string& Path, MapState Map);

} // namespace talvo
