#pragma once

namespace talvo {

// Rounds to the nearest integer with ties to the even one (0.5 → 0, 1.5 → 2, -2.5 → -2), as
// std::nearbyint does in the default rounding mode, for |X| below 2^51. Adding 1.5 × 2^52
// moves X where doubles are whole numbers, so the addition itself rounds; this keeps the
// per-pixel shading free of a library call.
inline double RoundHalfEven(double X) {
    constexpr double Shift = 6755399441055744.0;
    return (X + Shift) - Shift;
}

} // namespace talvo
