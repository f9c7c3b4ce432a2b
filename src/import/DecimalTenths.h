#pragma once

#include <cstdint>
#include <optional>

namespace talvo {

// Heights are kept in tenths of a metre. A height written in decimal is rounded to tenths from
// its own digits, half to even (12.25 → 122, 12.35 → 124, 12.351 → 124), so that the text
// decides and no binary fraction does.

// Reads the decimal number that starts at P, before End: an optional sign, digits, optionally a
// point and more digits (one digit at least). Returns where the number ends, or null when P starts
// none. Tenths saturates far beyond the 32-bit range instead of overflowing: the caller checks it.
// Finer is set when the number has a non-zero digit after its tenths: tenths do not hold it.
inline const char* ParseDecimalTenths(const char* P, const char* End, int64_t& Tenths,
                                      bool& Finer) {
    constexpr int64_t Saturated = int64_t{1} << 50;
    auto Digit = [](char C) { return static_cast<unsigned>(C - '0') < 10u; };
    const bool Negative = P != End && *P == '-';
    if (P != End && (*P == '-' || *P == '+')) {
        ++P;
    }
    const char* First = P;
    int64_t Whole = 0;
    for (; P != End && Digit(*P); ++P) {
        Whole = Whole < Saturated ? Whole * 10 + (*P - '0') : Whole;
    }
    bool AnyDigit = P != First;
    int Tenth = 0;
    int Next = 0;      // the digit after the tenths
    bool Past = false; // a non-zero digit after that one
    if (P != End && *P == '.') {
        ++P;
        if (P != End && Digit(*P)) {
            Tenth = *P++ - '0';
            AnyDigit = true;
        }
        if (P != End && Digit(*P)) {
            Next = *P++ - '0';
        }
        for (; P != End && Digit(*P); ++P) {
            Past |= *P != '0';
        }
    }
    if (!AnyDigit) {
        return nullptr;
    }
    int64_t Magnitude = Whole * 10 + Tenth;
    if (Next > 5 || (Next == 5 && (Past || Magnitude % 2 != 0))) {
        ++Magnitude;
    }
    Tenths = Negative ? -Magnitude : Magnitude;
    Finer = Next != 0 || Past;
    return P;
}

inline const char* ParseDecimalTenths(const char* P, const char* End, int64_t& Tenths) {
    bool Finer = false;
    return ParseDecimalTenths(P, End, Tenths, Finer);
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
