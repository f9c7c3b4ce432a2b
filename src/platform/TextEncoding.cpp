#include "platform/TextEncoding.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace talvo {

std::optional<std::string> ConvertText(std::string_view Text, const char* From, const char* To,
                                       size_t Skip, std::string_view Replacement) {
    const iconv_t Converter = iconv_open(To, From);
    if (Converter == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
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
            // An invalid or cut-off sequence: mark it and go on after it.
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

} // namespace talvo
