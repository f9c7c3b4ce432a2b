#pragma once

#include <string>

#include "import/FormatDriver.h"
#include "model/LoadedMap.h"
#include "platform/TextFile.h"

namespace talvo {

// Opens a Global Map raster from its header (EL*, LU*, VG*.hdr) and the data file beside it, into
// Map as a load starts it. A missing data file is the outcome CompanionMissing; every other
// failure is raised naming the file it arose in.
// A Global Map header: EL*, LU* or VG*.hdr.
bool IdentifyGlobalMap(const TFileStart& File);
TOpenedMap OpenGlobalMap(const std::string& Path, TLoadedMap Map, TProgress& Progress);

// A Global Map header: "description :value" lines. Sets MeshCode from the file name.
void ReadGmpHeader(const std::string& Path, TLoadedMap& Map);
void ReadGmpLines(TTextFile& File, TLoadedMap& Map);

} // namespace talvo
