#pragma once

#include <algorithm>
#include <cstdint>

namespace talvo {

// A colour value: red in bits 0-7, green in bits 8-15, blue in bits 16-23. Bits above 23
// are ignored when a colour is split.
struct TRgb {
    int32_t R;
    int32_t G;
    int32_t B;
};

inline TRgb SplitColour(int32_t Colour) {
    return {Colour & 0xFF, (Colour >> 8) & 0xFF, (Colour >> 16) & 0xFF};
}

// Each channel clamped to 0..255.
inline int32_t PackColour(int32_t R, int32_t G, int32_t B) {
    return std::clamp(B, 0, 255) << 16 | std::clamp(G, 0, 255) << 8 | std::clamp(R, 0, 255);
}

} // namespace talvo
