#pragma once

#include <optional>
#include <string>

namespace talvo {

// The file at Path, found as the maps' home system finds it: the exact name when such a file
// exists, else a file in the same folder whose name differs only in the case of ASCII letters
// (the first such name in sorted order). Nothing when neither exists. Folders do not count.
std::optional<std::string> FindFileIgnoringCase(const std::string& Path);

} // namespace talvo
