#include "platform/Utf8Bytes.h"

namespace talvo {

namespace {

constexpr char HexDigits[] = "0123456789ABCDEF";

int HexValue(char C) {
    if (C >= '0' && C <= '9') {
        return C - '0';
    }
    return C >= 'A' && C <= 'F' ? C - 'A' + 10 : -1;
}

} // namespace

size_t Utf8CharLength(std::string_view Text, size_t At) {
    const auto Byte = [&](size_t Offset) {
        return At + Offset < Text.size() ? static_cast<unsigned char>(Text[At + Offset]) : 0u;
    };
    if (At >= Text.size()) {
        return 0;
    }
    const unsigned Lead = Byte(0);
    if (Lead < 0x80) {
        return 1;
    }
    // The range of the second byte narrows for the leads whose short forms are overlong, are
    // surrogates or pass U+10FFFF (RFC 3629, section 4).
    size_t Length = 0;
    unsigned Low = 0x80, High = 0xBF;
    if (Lead >= 0xC2 && Lead <= 0xDF) {
        Length = 2;
    } else if (Lead >= 0xE0 && Lead <= 0xEF) {
        Length = 3;
        Low = Lead == 0xE0 ? 0xA0 : Low;
        High = Lead == 0xED ? 0x9F : High;
    } else if (Lead >= 0xF0 && Lead <= 0xF4) {
        Length = 4;
        Low = Lead == 0xF0 ? 0x90 : Low;
        High = Lead == 0xF4 ? 0x8F : High;
    } else {
        return 0;
    }
    if (Byte(1) < Low || Byte(1) > High) {
        return 0;
    }
    for (size_t Next = 2; Next < Length; ++Next) {
        if (Byte(Next) < 0x80 || Byte(Next) > 0xBF) {
            return 0;
        }
    }
    return Length;
}

std::string EscapedBytes(std::string_view Bytes) {
    std::string Text;
    Text.reserve(Bytes.size());
    for (size_t At = 0; At < Bytes.size();) {
        const size_t Length = Utf8CharLength(Bytes, At);
        if (Length == 0) {
            const auto Byte = static_cast<unsigned char>(Bytes[At]);
            Text += {'\\', 'x', HexDigits[Byte >> 4], HexDigits[Byte & 15]};
            ++At;
            continue;
        }
        if (Bytes[At] == '\\') {
            Text += '\\';
        }
        Text.append(Bytes.substr(At, Length));
        At += Length;
    }
    return Text;
}

std::string UnescapedBytes(std::string_view Text) {
    std::string Bytes;
    Bytes.reserve(Text.size());
    for (size_t At = 0; At < Text.size(); ++At) {
        if (Text[At] == '\\' && At + 1 < Text.size() && Text[At + 1] == '\\') {
            Bytes += '\\';
            ++At;
        } else if (Text.substr(At, 2) == "\\x" && At + 3 < Text.size() &&
                   HexValue(Text[At + 2]) >= 0 && HexValue(Text[At + 3]) >= 0) {
            Bytes += static_cast<char>(HexValue(Text[At + 2]) * 16 + HexValue(Text[At + 3]));
            At += 3;
        } else {
            Bytes += Text[At];
        }
    }
    return Bytes;
}

} // namespace talvo
