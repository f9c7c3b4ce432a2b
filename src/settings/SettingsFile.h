#pragma once

#include <string>
#include <vector>

#include "settings/ViewSettings.h"

namespace talvo {

// The settings file of a run and whether the user named it.
struct TSettingsFile {
    std::string Path;
    bool Named = false; // by --ini or TALVO_INI: it must be there
};

// $TALVO_INI when set (named); else the Talvo.ini beside the program when there is one; else
// $XDG_CONFIG_HOME/talvo/Talvo.ini (~/.config/talvo/Talvo.ini). No folder is made here: the
// window makes it when it saves.
TSettingsFile SettingsFile(const std::string& ExecutableDir);

// The palette shipped with the program, for a first run: under the installation's share/talvo,
// or in the build tree's; "" when neither is there.
std::string ShippedPalettePath(const std::string& ExecutableDir);

// The settings a run starts with: File's; on a first run (the default file missing) the shipped
// palette, or every default without one. A named file that is missing or unreadable, or a
// default file that is there but cannot be read, raises EInOutError naming it; one that holds
// none of the settings raises ETalvoError naming it. Returns the colour keys that were not
// hexadecimal.
std::vector<std::string> LoadStartSettings(const TSettingsFile& File,
                                           const std::string& ShippedPalette, TIni& Settings);

} // namespace talvo
