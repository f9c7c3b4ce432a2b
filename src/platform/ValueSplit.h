#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace talvo {

// The values of a line: split at blanks, other control characters and commas; a value in
// double quotes may hold them (a doubled quote stands for one). With SignStartsValue a "+" or
// "-" right after a digit also starts a new value, as fixed-width numeric columns touch.
std::vector<std::string> SplitValues(std::string_view Line, bool SignStartsValue);

} // namespace talvo
