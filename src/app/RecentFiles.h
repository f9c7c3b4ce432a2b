#pragma once

#include <string>
#include <vector>

#include "app/Document.h"
#include "settings/SettingsFile.h"

namespace talvo {

// The maps opened last, newest first, kept in the settings file's [Recent] section as
// File1 … File8.
constexpr size_t RecentFileCount = 8;

// The list the settings file held at start-up, without the files that are gone.
std::vector<std::string> StartRecentFiles(const TDocument& Document);

// Path put first, once, the list cut to its length.
std::vector<std::string> WithRecentFile(std::vector<std::string> Files, const std::string& Path);

// The keys that store Files; a key past the list's end is emptied.
std::vector<TExtraKey> RecentFileKeys(const std::vector<std::string>& Files);

} // namespace talvo
