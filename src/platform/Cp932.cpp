#include "platform/Cp932.h"

#include <cerrno>
#include <iconv.h>

#include "platform/Errors.h"
#include "platform/Messages.h"

namespace talvo {

namespace {

constexpr std::string_view ReplacementCharacter = "\xEF\xBF\xBD";

class TIconv {
  public:
    TIconv() : Handle(iconv_open("UTF-8", "CP932")) {
        if (Handle == reinterpret_cast<iconv_t>(-1)) {
            throw ETalvoError(Text(TText::NoCp932));
        }
    }
    ~TIconv() { iconv_close(Handle); }
    TIconv(const TIconv&) = delete;
    TIconv& operator=(const TIconv&) = delete;

    iconv_t Handle;
};

} // namespace

std::string Cp932ToUtf8(std::string_view Bytes) {
    std::string Result;
    bool Ascii = true;
    for (char C : Bytes) {
        Ascii = Ascii && static_cast<unsigned char>(C) < 0x80;
    }
    if (Ascii) {
        return std::string(Bytes);
    }

    TIconv Converter;
    char* In = const_cast<char*>(Bytes.data());
    size_t InLeft = Bytes.size();
    char Buffer[256];
    while (InLeft > 0) {
        char* Out = Buffer;
        size_t OutLeft = sizeof Buffer;
        size_t Done = iconv(Converter.Handle, &In, &InLeft, &Out, &OutLeft);
        Result.append(Buffer, static_cast<size_t>(Out - Buffer));
        if (Done == static_cast<size_t>(-1) && errno != E2BIG) {
            // An invalid or cut-off sequence: mark it and go on with the next byte.
            Result.append(ReplacementCharacter);
            ++In;
            --InLeft;
            iconv(Converter.Handle, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return Result;
}

} // namespace talvo
