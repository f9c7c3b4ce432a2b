#pragma once

#include <string>

#include "import/OpenedMap.h"
#include "model/MapState.h"
#include "platform/TextFile.h"

namespace talvo {

// Opens a Global Map raster from its header (EL*, LU*, VG*.hdr) and the data file beside it, into
// Map as a load starts it. A missing data file is the outcome CompanionMissing; every other
// failure is raised naming the file it arose in.
TOpenedMap OpenGlobalMap(const std::string& Path, MapState Map);

// A Global Map header: "description :value" lines. Sets MeshCode from the file name.
void ReadGmpHeader(const std::string& Path, MapState& Map);
void ReadGmpLines(TTextFile& File, MapState& Map);

} // namespace talvo
