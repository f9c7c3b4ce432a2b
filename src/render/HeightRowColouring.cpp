#include "render/HeightRowColouring.h"

#include <algorithm>

namespace talvo {

namespace {

// Larger tables would no longer stay in a core's cache; what lies beyond them is rare.
constexpr int64_t MaxRampEntries = int64_t{1} << 16;
constexpr int64_t MaxRiseLimit = int64_t{1} << 16;

} // namespace

THeightRowColouring::THeightRowColouring(const TViewSettings& Settings,
                                         const THeightColourTable& Table, int32_t CellSpacing)
    : Exact(Settings, Table, CellSpacing), Sea(Exact.SeaColour()), Out(Exact.OutColour()),
      Min(Exact.MinHeight()), Max(Exact.MaxHeight()),
      RiseLimit(std::min(Exact.SaturatingRise(), MaxRiseLimit)) {
    const int64_t Span = std::min(static_cast<int64_t>(Max) - Min + 1, MaxRampEntries);
    for (int64_t Step = 0; Step < Span; ++Step) {
        Ramp.push_back(Exact.RampColour(static_cast<int32_t>(Min + Step)));
    }
    for (int64_t Rise = -RiseLimit; Rise <= RiseLimit; ++Rise) {
        Shades.push_back(static_cast<int16_t>(Exact.ShadingOffset(static_cast<int32_t>(Rise))));
    }
}

void THeightRowColouring::ColourRow(const int32_t* Cells, int32_t Width, int32_t* Pixels) const {
    // The first cell has no western neighbour: its rise is 0.
    int32_t Previous = Width > 0 ? Cells[0] : 0;
    for (int32_t J = 0; J < Width; ++J) {
        const int32_t Value = Cells[J];
        Pixels[J] = Colour(Value / 10, Value - Previous);
        Previous = Value;
    }
}

} // namespace talvo
