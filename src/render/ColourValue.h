#pragma once

#include <algorithm>
#include <array>
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

namespace detail {
// Entry i is i - 256 clamped to 0..255: one load clamps a channel plus an offset of ±256.
inline constexpr std::array<uint8_t, 768> ChannelClamp = [] {
    std::array<uint8_t, 768> Table{};
    for (int I = 0; I < 768; ++I) {
        Table[static_cast<size_t>(I)] = static_cast<uint8_t>(std::clamp(I - 256, 0, 255));
    }
    return Table;
}();
} // namespace detail

// PackColour(r + Offset, g + Offset, b + Offset) for the channels of Colour, with Offset in
// -256..256; table lookups instead of comparisons, for per-pixel use.
inline int32_t OffsetColour(int32_t Colour, int32_t Offset) {
    const uint8_t* Clamp = detail::ChannelClamp.data() + 256 + Offset;
    TRgb C = SplitColour(Colour);
    return Clamp[C.B] << 16 | Clamp[C.G] << 8 | Clamp[C.R];
}

} // namespace talvo
