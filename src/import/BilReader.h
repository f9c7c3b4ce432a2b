#pragma once

#include <string>
#include <string_view>

#include "import/OpenedMap.h"
#include "model/MapState.h"
#include "platform/TextFile.h"

namespace talvo {

// Opens a 30-arc-second raster from its ".bil" data file and the ".hdr" beside it, into Map as a
// load starts it. A missing header is the outcome CompanionMissing; every other failure is
// raised naming the file it arose in.
TOpenedMap OpenBil(const std::string& Path, MapState Map);

// A 30-second raster header: "KEY value" lines; the south and east corners are derived.
void ReadBilHeader(const std::string& Path, MapState& Map);
void ReadBilLines(TTextFile& File, MapState& Map);
void ParseBilKey(std::string_view Line, MapState& Map);

} // namespace talvo
