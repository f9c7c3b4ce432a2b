#include "import/DecimalTenths.h"

#include <charconv>
#include <cmath>

namespace talvo {

std::optional<int32_t> TenthsOfMetres(double Metres) {
    const double Scaled = Metres * 10.0;
    // Also false for NaN; the bound leaves room for the rounding below.
    if (!(std::abs(Scaled) < 2147483648.0)) {
        return std::nullopt;
    }
    const double Rounded = std::nearbyint(Scaled);
    // The product's own rounding moves it by well under 1e-6 at these sizes: only near a tie may
    // it fall on the other side of one, and there the decimal digits decide.
    if (std::abs(std::abs(Scaled - Rounded) - 0.5) < 1e-5) [[unlikely]] {
        char Text[64];
        const auto Written =
            std::to_chars(Text, Text + sizeof Text, Metres, std::chars_format::fixed);
        int64_t Tenths = 0;
        ParseDecimalTenths(Text, Written.ptr, Tenths);
        return GridTenths(Tenths);
    }
    return GridTenths(static_cast<int64_t>(Rounded));
}

double DecimalValue(const char* First, const char* Last) {
    if (First != Last && *First == '+') {
        ++First;
    }
    double Value = 0.0;
    std::from_chars(First, Last, Value);
    return Value;
}

} // namespace talvo
