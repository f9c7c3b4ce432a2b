#pragma once

#include <string>
#include <vector>

#include "platform/ProfileFile.h"
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
// hexadecimal; Read gets what File holds (nothing on a first run).
std::vector<std::string> LoadStartSettings(const TSettingsFile& File,
                                           const std::string& ShippedPalette,
                                           TViewSettings& Settings, TProfileText& Read);

// Reads every setting into Settings, the layer check boxes included; missing keys take their
// defaults. Returns the colour keys whose text was not hexadecimal: they are black, and every
// other key is still read.
std::vector<std::string> LoadSettings(const std::string& Path, TViewSettings& Settings);
std::vector<std::string> LoadSettings(const TProfileText& Profile, TViewSettings& Settings);

// A value the settings file keeps beside the settings: a window's placement.
struct TExtraKey {
    std::string Section;
    std::string Key;
    std::string Value;
};

// Writes every setting, and Extra, into the file at Path, keeping its other lines, in one
// replacement of the file. Pit is recomputed as (Max - Min) / 50 and kept in Settings once the file
// is written. A file that cannot be read or written raises EInOutError and nothing changes.
void SaveSettings(const std::string& Path, TViewSettings& Settings,
                  const std::vector<TExtraKey>& Extra = {});

} // namespace talvo
