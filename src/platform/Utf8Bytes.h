#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace talvo {

// The length (1 to 4) of the well-formed UTF-8 character that starts at Text[At], or 0 when the
// bytes there are none: a stray continuation byte, an overlong form, a surrogate, a code point
// beyond U+10FFFF or a character cut short.
size_t Utf8CharLength(std::string_view Text, size_t At);

// Bytes (a file name, which Linux does not hold to any encoding) as UTF-8 text that gives them
// back: a backslash is written "\\", a byte that is no UTF-8 "\xHH" (two upper-case hexadecimal
// digits), every other byte as it is.
std::string EscapedBytes(std::string_view Bytes);

// The bytes EscapedBytes wrote Text from; any other backslash is kept as it is.
std::string UnescapedBytes(std::string_view Text);

} // namespace talvo
