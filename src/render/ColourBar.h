#pragma once

#include <cstdint>
#include <vector>

namespace talvo {

// One band of the ramp's colour bar: lines Top to Bottom - 1 in the colour of ramp entry
// Entry.
struct TColourBand {
    int32_t Entry;
    int32_t Top;
    int32_t Bottom;
};

// The 51 bands of a colour bar Height lines high, painted in this order, entry 0 at the top:
// a step of Height / 50 in single precision; each band runs from the whole part of
// entry × step to the whole part of its top + step + 1, so a band may reach one line into the
// next, which is painted over it.
std::vector<TColourBand> ColourBarBands(int32_t Height);

} // namespace talvo
