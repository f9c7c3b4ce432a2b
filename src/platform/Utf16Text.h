#pragma once

#include <string>
#include <string_view>

namespace talvo {

// UTF-16 text of the given byte order, without its byte-order mark, as UTF-8: how Windows
// editors save "Unicode" text. A unit that is no character (a lone surrogate, an odd last byte)
// becomes U+FFFD.
std::string Utf16ToUtf8(std::string_view Bytes, bool BigEndian);

// UTF-8 text as UTF-16 of the given byte order, without a byte-order mark; a byte that is no
// UTF-8 becomes U+FFFD.
std::string Utf8ToUtf16(std::string_view Text, bool BigEndian);

} // namespace talvo
