#include "platform/Utf16Text.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace talvo {

namespace {

// Text from one encoding to another through iconv; a sequence that is no character is replaced
// by Replacement and the conversion goes on Skip bytes further.
std::string Convert(std::string_view Text, const char* From, const char* To, size_t Skip,
                    std::string_view Replacement) {
    const iconv_t Converter = iconv_open(To, From);
    if (Converter == reinterpret_cast<iconv_t>(-1)) {
        return {}; // glibc always has both encodings
    }
    std::string Result;
    char* In = const_cast<char*>(Text.data());
    size_t InLeft = Text.size();
    char Buffer[1024];
    while (InLeft > 0) {
        char* Out = Buffer;
        size_t OutLeft = sizeof Buffer;
        const size_t Done = iconv(Converter, &In, &InLeft, &Out, &OutLeft);
        Result.append(Buffer, static_cast<size_t>(Out - Buffer));
        if (Done == static_cast<size_t>(-1) && errno != E2BIG) {
            Result.append(Replacement);
            const size_t Step = std::min(Skip, InLeft);
            In += Step;
            InLeft -= Step;
            iconv(Converter, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(Converter);
    return Result;
}

} // namespace

std::string Utf16ToUtf8(std::string_view Bytes, bool BigEndian) {
    return Convert(Bytes, BigEndian ? "UTF-16BE" : "UTF-16LE", "UTF-8", 2, "\xEF\xBF\xBD");
}

std::string Utf8ToUtf16(std::string_view Text, bool BigEndian) {
    return Convert(Text, "UTF-8", BigEndian ? "UTF-16BE" : "UTF-16LE", 1,
                   BigEndian ? std::string_view("\xFF\xFD") : std::string_view("\xFD\xFF"));
}

} // namespace talvo
