#include "model/Dms.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

namespace talvo {

long double DegToDms(long double X) {
    if (X < 0) {
        return -DegToDms(-X);
    }
    // In whole hundredths of a second, so that 43' 59.999" shows as 44' 00", not 43' 60".
    const long double Hundredths = std::round(X * 360000);
    const long double D = std::trunc(Hundredths / 360000);
    const long double M = std::trunc((Hundredths - D * 360000) / 6000);
    const long double S = (Hundredths - D * 360000 - M * 6000) / 100;
    return D + M / 100 + S / 10000;
}

double DmsToDegrees(double Dms) {
    if (Dms < 0) {
        return -DmsToDegrees(-Dms);
    }
    // The value's own decimal digits: 139.15 is 139° 15' 00" whatever binary fraction holds it,
    // so the degrees come from the digits in one division, with no residue of 0.15 − 0.1499….
    char Text[400];
    const auto [End, Error] =
        std::to_chars(Text, Text + sizeof Text, Dms, std::chars_format::fixed);
    if (Error != std::errc() || !std::isfinite(Dms)) {
        return Dms; // nothing sensible to convert
    }
    const std::string_view Digits(Text, static_cast<size_t>(End - Text));
    const size_t Point = std::min(Digits.find('.'), Digits.size());
    const std::string_view Whole = Digits.substr(0, Point);
    std::string Fraction(Digits.substr(std::min(Point + 1, Digits.size())));
    Fraction.resize(std::max<size_t>(Fraction.size(), 4), '0'); // minutes and seconds, always
    Fraction.resize(std::min<size_t>(Fraction.size(), 4 + 9));  // to a nanosecond of arc
    if (Whole.size() > 6) {
        return Dms; // far beyond any angle
    }
    auto Number = [](std::string_view Part) {
        int64_t Value = 0;
        for (char Digit : Part) {
            Value = Value * 10 + (Digit - '0');
        }
        return Value;
    };
    const size_t SecondDigits = Fraction.size() - 4; // digits after the whole seconds
    int64_t Scale = 1;
    for (size_t I = 0; I < SecondDigits; ++I) {
        Scale *= 10;
    }
    const int64_t Seconds = Number(Whole) * 3600 +
                            Number(std::string_view(Fraction).substr(0, 2)) * 60 +
                            Number(std::string_view(Fraction).substr(2, 2));
    const int64_t Parts = Seconds * Scale + Number(std::string_view(Fraction).substr(4));
    return static_cast<double>(Parts) / static_cast<double>(3600 * Scale);
}

} // namespace talvo
