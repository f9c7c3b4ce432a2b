#pragma once

#include <cstdint>
#include <vector>

#include "render/HeightColourTable.h"

namespace talvo {

// Colours whole elevation rows exactly as THeightColouring colours their cells, from tables
// filled once per picture: the ramp colour of every height between Min and Max and the shading
// of every rise up to where shading saturates, so that a cell takes two lookups instead of a
// division and a rounding. Heights and rises beyond the tables are coloured the slow way.
class THeightRowColouring {
  public:
    THeightRowColouring(const TViewSettings& Settings, const THeightColourTable& Table,
                        int32_t CellSpacing);

    // Width cells of tenths of a metre into Width pixels, each shaded by its rise from the cell
    // to its west (none for the first).
    void ColourRow(const int32_t* Cells, int32_t Width, int32_t* Pixels) const;

    // Whether a cell Height whole metres high takes a ramp colour (not the sea's or Out's).
    bool InRamp(int32_t Height) const { return Height >= Min && Height <= Max; }

    // Colour(Height, 0): the ramp colour of a cell, or the sea's or Out's, unshaded.
    int32_t PlainColour(int32_t Height) const {
        if (Height < Min) {
            return Sea;
        }
        if (Height > Max) {
            return Out;
        }
        const auto Step = static_cast<uint64_t>(static_cast<int64_t>(Height) - Min);
        return (Step < Ramp.size() ? Ramp[Step] : Exact.RampColour(Height)) & 0xFFFFFF;
    }

    // THeightColouring::Colour.
    int32_t Colour(int32_t Height, int32_t Rise) const {
        if (Height < Min) {
            return Sea;
        }
        if (Height > Max) {
            return Out;
        }
        const auto Step = static_cast<uint64_t>(static_cast<int64_t>(Height) - Min);
        const int32_t Base = Step < Ramp.size() ? Ramp[Step] : Exact.RampColour(Height);
        const auto Shade = static_cast<uint64_t>(static_cast<int64_t>(Rise) + RiseLimit);
        const int32_t Offset = Shade < Shades.size() ? Shades[Shade] : Exact.ShadingOffset(Rise);
        return OffsetColour(Base, Offset);
    }

  private:
    THeightColouring Exact;
    int32_t Sea;
    int32_t Out;
    int32_t Min;
    int32_t Max;
    std::vector<int32_t> Ramp;   // entry h: the ramp colour of height Min + h
    int64_t RiseLimit;           // Shades covers rises -RiseLimit..RiseLimit
    std::vector<int16_t> Shades; // entry r: the shading of rise r - RiseLimit
};

} // namespace talvo
