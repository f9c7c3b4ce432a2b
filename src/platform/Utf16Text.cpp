#include "platform/Utf16Text.h"

#include "platform/TextEncoding.h"

namespace talvo {

std::string Utf16ToUtf8(std::string_view Bytes, bool BigEndian) {
    return ConvertText(Bytes, BigEndian ? "UTF-16BE" : "UTF-16LE", "UTF-8", 2, "\xEF\xBF\xBD")
        .value_or(""); // glibc always has both encodings
}

std::string Utf8ToUtf16(std::string_view Text, bool BigEndian) {
    return ConvertText(Text, "UTF-8", BigEndian ? "UTF-16BE" : "UTF-16LE", 1,
                       BigEndian ? std::string_view("\xFF\xFD") : std::string_view("\xFD\xFF"))
        .value_or("");
}

} // namespace talvo
