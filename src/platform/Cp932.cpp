#include "platform/Cp932.h"

#include "platform/Errors.h"
#include "platform/Messages.h"
#include "platform/TextEncoding.h"

namespace talvo {

namespace {

constexpr std::string_view ReplacementCharacter = "\xEF\xBF\xBD";

} // namespace

std::string Cp932ToUtf8(std::string_view Bytes) {
    bool Ascii = true;
    for (char C : Bytes) {
        Ascii = Ascii && static_cast<unsigned char>(C) < 0x80;
    }
    if (Ascii) {
        return std::string(Bytes);
    }

    std::optional<std::string> Converted =
        ConvertText(Bytes, "CP932", "UTF-8", 1, ReplacementCharacter);
    if (!Converted) {
        throw ETalvoError(Text(TText::NoCp932));
    }
    return std::move(*Converted);
}

} // namespace talvo
