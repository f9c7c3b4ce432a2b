#pragma once

#include <string>
#include <string_view>

#include "import/FormatDriver.h"
#include "model/LoadedMap.h"
#include "platform/TextFile.h"

namespace talvo {

// Opens a 30-arc-second raster from its ".bil" data file and the ".hdr" beside it, into Map as a
// load starts it. A missing header is the outcome CompanionMissing; every other failure is
// raised naming the file it arose in.
bool IdentifyBil(const TFileStart& File);
TOpenedMap OpenBil(const std::string& Path, TLoadedMap Map, TProgress& Progress);

// A 30-second raster header: "KEY value" lines; the south and east corners are derived.
void ReadBilHeader(const std::string& Path, TLoadedMap& Map);
void ReadBilLines(TTextFile& File, TLoadedMap& Map);
void ParseBilKey(std::string_view Line, TLoadedMap& Map);

} // namespace talvo
