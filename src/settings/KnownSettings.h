#pragma once

#include <string>

#include "platform/ProfileFile.h"

namespace talvo {

// Raises ETalvoError naming Path when Profile holds no key in any section of Talvo's settings:
// an empty file, a binary one or /dev/null would otherwise draw with every colour black, as if
// all were well.
void RequireKnownSettings(const TProfileText& Profile, const std::string& Path);

} // namespace talvo
