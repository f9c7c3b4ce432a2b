#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace talvo {

// Text from the encoding From to the encoding To (iconv's names). A sequence that is no
// character becomes Replacement and the conversion goes on Skip bytes further. Nothing when the
// system cannot convert between the two.
std::optional<std::string> ConvertText(std::string_view Text, const char* From, const char* To,
                                       size_t Skip, std::string_view Replacement);

} // namespace talvo
