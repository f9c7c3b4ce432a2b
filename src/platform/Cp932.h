#pragma once

#include <string>
#include <string_view>

namespace talvo {

// Text read from data files stays in its raw Shift-JIS (code page 932) bytes; it is turned
// into UTF-8 only where a person reads it. Bytes that are not valid CP932 become U+FFFD.
std::string Cp932ToUtf8(std::string_view Bytes);

} // namespace talvo
