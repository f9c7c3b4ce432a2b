#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace talvo {

// A decimal integer: leading blanks and one sign allowed; empty text, trailing blanks, any
// other character or a value beyond 32 bits raise EConvertError "'%s' は整数ではありません".
int32_t StrToInt(std::string_view Text);
// The same rules without raising: false when Text is not such an integer.
bool TryStrToInt(std::string_view Text, int32_t& Value);

// Hexadecimal digits only, at most 32 bits of value; the top bit is the sign ("FFFFFFFF" is
// -1). False for anything else, the empty text included.
bool TryHexToInt(std::string_view Text, int32_t& Value);

// A decimal real with "." as the decimal point and an optional exponent; blanks allowed
// before and after. Anything else raises EConvertError "'%s' は浮動小数点数ではありません".
double StrToFloat(std::string_view Text);

// The fewest digits that read back as Value: 123.45 of the float nearest 123.45, not
// 123.4499969482.
std::string ShortestText(float Value);
std::string ShortestText(double Value);

} // namespace talvo
