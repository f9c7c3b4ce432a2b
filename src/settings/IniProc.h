#pragma once

#include <string>
#include <vector>

#include "platform/ProfileFile.h"
#include "settings/ViewSettings.h"

namespace talvo {

// Reads every setting into Settings, the layer check boxes included; missing keys take their
// defaults. Returns the colour keys whose text was not hexadecimal: they are black, and every
// other key is still read.
std::vector<std::string> LoadSettings(const std::string& Path, TIni& Settings);
std::vector<std::string> LoadSettings(const TProfileText& Profile, TIni& Settings);

// Writes every setting into the file at Path, keeping its other lines, in one replacement of the
// file. Pit is recomputed as (Max - Min) / 50 and kept in Settings once the file is written. A
// file that cannot be read or written raises EInOutError and nothing changes.
void SaveSettings(const std::string& Path, TIni& Settings);

} // namespace talvo
