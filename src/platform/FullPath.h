#pragma once

#include <string>

namespace talvo {

// Path made absolute for a message, so that it says which file whatever the current folder:
// relative to the current folder, "." and ".." steps resolved by name. Path as given when the
// current folder cannot be known.
std::string FullPath(const std::string& Path);

} // namespace talvo
