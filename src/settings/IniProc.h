#pragma once

#include <string>
#include <vector>

#include "platform/ProfileFile.h"
#include "settings/ViewSettings.h"

namespace talvo {

// Where the settings file is: $TALVO_INI when set; else Talvo.ini in ExecutableDir when that
// folder is writable; else $XDG_CONFIG_HOME/talvo/Talvo.ini (~/.config/talvo/Talvo.ini),
// creating its folder.
std::string SettingsFilePath(const std::string& ExecutableDir);

// Reads every setting into Settings, the layer check boxes included; missing keys take their
// defaults. Returns the colour keys whose text was not hexadecimal: they are black, and every
// other key is still read.
std::vector<std::string> LoadSettings(const std::string& Path, TIni& Settings);
std::vector<std::string> LoadSettings(const TProfileText& Profile, TIni& Settings);

// Writes every setting, key by key. Pit is first recomputed as (Max - Min) / 50 and kept in
// Settings too. A refused write raises EInOutError and ends the saving there.
void SaveSettings(const std::string& Path, TIni& Settings);

} // namespace talvo
