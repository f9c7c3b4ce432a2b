#pragma once

#include <string>
#include <string_view>

namespace talvo {

// The file name of Path, without its folders.
std::string_view FileNameOf(std::string_view Path);

// The extension of Path's file name from its last ".", dot included, upper-cased; "" without one.
std::string UpperExtensionOf(std::string_view Path);

// Path less its last four characters: a three-letter extension with its dot.
std::string WithoutExtension(const std::string& Path);

} // namespace talvo
