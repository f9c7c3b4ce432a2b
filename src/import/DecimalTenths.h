#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>

namespace talvo {

// Heights are kept in tenths of a metre. A height written in decimal is rounded to tenths from
// its own digits, half to even (12.25 → 122, 12.35 → 124, 12.351 → 124), so that the text
// decides and no binary fraction does.

// A decimal number as ParseDecimal reads it.
struct TDecimal {
    // Rounded to tenths from its digits, half to even; saturates far beyond the 32-bit range
    // instead of overflowing: the caller checks it.
    int64_t Tenths = 0;
    // A non-zero digit after the tenths: tenths do not hold the number.
    bool Finer = false;
    // With at most MaxExactDigits digits, the number is exactly ±Significand / 10^Scale, two
    // doubles without rounding, whose quotient is then the double nearest the number.
    bool Exact = true;
    bool Negative = false;
    uint64_t Significand = 0;
    int Scale = 0; // the digits after the point
};

// The most digits whose integer a double holds exactly (10^15 < 2^53).
constexpr int MaxExactDigits = 15;

// Magnitude (tenths), then rounded half to even by the digit after its tenths, Next, and whether a
// non-zero digit follows that one, Past; without a branch, which the digits would take as often
// one way as the other.
inline int64_t RoundedUp(int64_t Magnitude, int Next, bool Past) {
    const bool Half = Next == 5;
    return Magnitude + ((Next > 5) | (Half & (Past | ((Magnitude & 1) != 0))));
}

// A number of at most 7 digits and its point in the 8 bytes at P, the most a height has, read
// without a branch per digit: the bytes are told apart and their digits combined as one word.
// Returns where the number ends, or null to leave it to the byte by byte read (a longer number, or
// none).
inline const char* ParseShortDecimal(const char* P, TDecimal& Number) {
    constexpr uint64_t Ones = 0x0101010101010101;
    constexpr uint64_t Highs = Ones * 0x80;
    uint64_t Word = 0;
    std::memcpy(&Word, P, sizeof Word);
    // A byte is a digit when it lies from '0' to '9': sums that cannot carry into the next byte.
    const uint64_t Low = Word & ~Highs;
    const uint64_t Others =
        ~((Low + Ones * (0x80 - '0')) & ~(Low + Ones * (0x80 - '9' - 1)) & ~Word) & Highs;
    if (Others == 0) {
        return nullptr;
    }
    const int Whole = std::countr_zero(Others) / 8;
    int Fraction = 0;
    const bool Point = P[Whole] == '.';
    if (Point) {
        const uint64_t After = Whole < 7 ? Others >> (8 * (Whole + 1)) : 0;
        if (After == 0) {
            return nullptr;
        }
        Fraction = std::countr_zero(After) / 8;
    } else if (Whole == 0) {
        return nullptr;
    }
    if (Whole + Fraction == 0) {
        return nullptr;
    }
    // Digits as values, the first in the lowest byte; those of n bytes, led by zeros, as a number.
    const uint64_t Values = Word & (Ones * 0x0F);
    auto Number8 = [](uint64_t Digits, int Count) -> uint64_t {
        if (Count == 0) {
            return 0;
        }
        Digits <<= 8 * (8 - Count);
        Digits = Digits * 10 + (Digits >> 8);
        constexpr uint64_t Pairs = 0x000000FF000000FF;
        return (((Digits & Pairs) * (100 + (1000000ULL << 32))) +
                (((Digits >> 16) & Pairs) * (1 + (10000ULL << 32)))) >>
               32;
    };
    static constexpr uint64_t PowersOfTen[8] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000};
    const uint64_t Fractions = Point ? Values >> (8 * (Whole + 1)) : 0;
    const uint64_t Significand =
        Number8(Values, Whole) * PowersOfTen[Fraction] + Number8(Fractions, Fraction);
    const int Tenth = Fraction >= 1 ? static_cast<int>(Fractions & 0xFF) : 0;
    const int Next = Fraction >= 2 ? static_cast<int>((Fractions >> 8) & 0xFF) : 0;
    const bool Past =
        Fraction >= 3 && ((Fractions >> 16) & ((uint64_t{1} << (8 * (Fraction - 2))) - 1)) != 0;
    int64_t Magnitude = static_cast<int64_t>(Number8(Values, Whole)) * 10 + Tenth;
    Magnitude = RoundedUp(Magnitude, Next, Past);
    Number.Tenths = Number.Negative ? -Magnitude : Magnitude;
    Number.Finer = Next != 0 || Past;
    Number.Exact = true;
    Number.Significand = Significand;
    Number.Scale = Fraction;
    return P + Whole + (Point ? 1 + Fraction : 0);
}

// Reads the decimal number that starts at P, before End: an optional sign, digits, optionally a
// point and more digits (one digit at least). Returns where the number ends, or null when P starts
// none.
inline const char* ParseDecimal(const char* P, const char* End, TDecimal& Number) {
    constexpr int64_t Saturated = int64_t{1} << 50;
    auto Digit = [](char C) { return static_cast<unsigned>(C - '0') < 10u; };
    Number.Negative = P != End && *P == '-';
    Number.Scale = 0;
    if (P != End && (*P == '-' || *P == '+')) {
        ++P;
    }
    if (End - P >= 8) {
        if (const char* Stop = ParseShortDecimal(P, Number)) {
            return Stop;
        }
    }
    const char* First = P;
    uint64_t Significand = 0;
    for (; P != End && Digit(*P); ++P) {
        Significand = Significand * 10 + static_cast<unsigned>(*P - '0');
    }
    ptrdiff_t Count = P - First;
    // The whole part, which saturates far beyond the 32-bit range instead of overflowing: the
    // digits so far hold it while they are few.
    auto Saturating = [&] {
        int64_t Whole = 0;
        for (const char* D = First; D != P; ++D) {
            Whole = Whole < Saturated ? Whole * 10 + (*D - '0') : Whole;
        }
        return Whole;
    };
    const int64_t Whole =
        Count <= MaxExactDigits ? static_cast<int64_t>(Significand) : Saturating();
    bool AnyDigit = P != First;
    int Tenth = 0;
    int Next = 0;      // the digit after the tenths
    bool Past = false; // a non-zero digit after that one
    if (P != End && *P == '.') {
        ++P;
        const char* Fraction = P;
        auto Take = [&] {
            const int Value = *P++ - '0';
            Significand = Significand * 10 + static_cast<unsigned>(Value);
            return Value;
        };
        if (P != End && Digit(*P)) {
            Tenth = Take();
            AnyDigit = true;
        }
        if (P != End && Digit(*P)) {
            Next = Take();
        }
        while (P != End && Digit(*P)) {
            Past |= Take() != 0;
        }
        Count += P - Fraction;
        Number.Scale = static_cast<int>(std::min<ptrdiff_t>(P - Fraction, MaxExactDigits + 1));
    }
    if (!AnyDigit) {
        return nullptr;
    }
    int64_t Magnitude = Whole * 10 + Tenth;
    Magnitude = RoundedUp(Magnitude, Next, Past);
    Number.Tenths = Number.Negative ? -Magnitude : Magnitude;
    Number.Finer = Next != 0 || Past;
    Number.Exact = Count <= MaxExactDigits;
    Number.Significand = Significand;
    return P;
}

// Reads the decimal number that starts at P as ParseDecimal does, into its tenths alone.
inline const char* ParseDecimalTenths(const char* P, const char* End, int64_t& Tenths) {
    TDecimal Number;
    const char* Stop = ParseDecimal(P, End, Number);
    Tenths = Number.Tenths;
    return Stop;
}

// The double nearest the decimal [First, Last), as std::from_chars reads it.
double DecimalValue(const char* First, const char* Last);

// The float nearest the double nearest the decimal Number, read from the text [First, Last): what
// std::from_chars and a cast to float make of it, sooner. Exact digits are multiplied by the
// double nearest 10^-Scale, which lands within two units of the last place of the double nearest
// the number; unless that lies beside a midpoint between two floats, both round to one float. The
// few that do are divided exactly.
inline float DecimalAsFloat(const TDecimal& Number, const char* First, const char* Last) {
    if (!Number.Exact) [[unlikely]] {
        return static_cast<float>(DecimalValue(First, Last));
    }
    static constexpr double PowersOfTen[MaxExactDigits + 1] = {
        1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    static constexpr double InversePowers[MaxExactDigits + 1] = {
        1e0,  1e-1, 1e-2,  1e-3,  1e-4,  1e-5,  1e-6,  1e-7,
        1e-8, 1e-9, 1e-10, 1e-11, 1e-12, 1e-13, 1e-14, 1e-15};
    const auto Digits = static_cast<double>(Number.Significand);
    double Value = Digits * InversePowers[Number.Scale];
    // The bits of a double that a float drops, and the midpoint between two floats among them.
    constexpr uint64_t Dropped = (uint64_t{1} << 29) - 1;
    constexpr uint64_t Midpoint = uint64_t{1} << 28;
    constexpr uint64_t Margin = 8;
    uint64_t Bits = 0;
    std::memcpy(&Bits, &Value, sizeof Bits);
    if ((Bits & Dropped) + Margin - Midpoint <= 2 * Margin) [[unlikely]] {
        Value = Digits / PowersOfTen[Number.Scale];
    }
    return static_cast<float>(Number.Negative ? -Value : Value);
}

// Tenths that the grid's 32-bit cells hold; nothing beyond them.
inline std::optional<int32_t> GridTenths(int64_t Tenths) {
    if (Tenths < INT32_MIN || Tenths > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<int32_t>(Tenths);
}

// Metres as tenths, rounded as the shortest decimal text of Metres would be; nothing when they
// are not a number or lie beyond the grid's cells.
std::optional<int32_t> TenthsOfMetres(double Metres);

} // namespace talvo
