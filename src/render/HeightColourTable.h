#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "platform/Rounding.h"
#include "render/ColourValue.h"
#include "settings/ViewSettings.h"

namespace talvo {

// The 51-step elevation ramp: entry 10k is anchor k, the nine between two anchors are
// interpolated.
using THeightColourTable = std::array<int32_t, 51>;

// Fills Table from anchors 0..5 of Settings.
void BuildHeightColourTable(const TViewSettings& Settings, THeightColourTable& Table);

// Re-spaces anchors 1..4 evenly between anchors 0 and 5.
void EvenAnchors(TViewSettings& Settings);

// Colours cells of one elevation picture. Built from the settings, the ramp and the map's
// spacing, it keeps the quotients that every cell needs, so that colouring a cell takes no
// division; build it again when the settings change.
class THeightColouring {
  public:
    THeightColouring(const TViewSettings& Settings, const THeightColourTable& Table,
                     int32_t CellSpacing);

    // The colour of a cell Height whole metres high that rises Rise tenths of a metre above
    // its western neighbour: Sea below Min, Out above Max, otherwise the ramp entry
    // Height / Pit (truncated) lightened or darkened by round(Rise / CellSpacing × ShadowKK),
    // ties to even. Indexes outside the ramp take its nearest end; a Pit below 1 counts as 1;
    // a CellSpacing of 0 gives no shading.
    int32_t Colour(int32_t Height, int32_t Rise) const {
        if (Height < Min) {
            return Sea;
        }
        if (Height > Max) {
            return Out;
        }
        return OffsetColour(RampColour(Height), ShadingOffset(Rise));
    }

    // The ramp entry of a height between Min and Max.
    int32_t RampColour(int32_t Height) const {
        return Table[static_cast<size_t>(std::clamp(Height / Pit, 0, 50))];
    }

    // How much a rise of Rise tenths of a metre lightens (or darkens) every channel.
    int32_t ShadingOffset(int32_t Rise) const {
        // Beyond ±256 every channel clamps the same way; limiting first keeps the rounding and
        // the conversion to an integer defined.
        auto Limit = [](double Shade) { return std::min(std::max(Shade, -256.0), 256.0); };
        // Rise × (ShadowKK / CellSpacing) is within a few units in the last place of
        // (Rise / CellSpacing) × ShadowKK, so the two round alike except near a tie; there the
        // exact order of operations decides. A multiplication here instead of a division
        // halves the time per cell.
        double Shade = Limit(Rise * ShadePerRise);
        double Rounded = RoundHalfEven(Shade);
        if (std::abs(std::abs(Shade - Rounded) - 0.5) < 1e-9) [[unlikely]] {
            Rounded = RoundHalfEven(Limit(static_cast<double>(Rise) / CellSpacing * ShadowKK));
        }
        return static_cast<int32_t>(Rounded);
    }

    int32_t SeaColour() const { return Sea; }
    int32_t OutColour() const { return Out; }
    int32_t MinHeight() const { return Min; }
    int32_t MaxHeight() const { return Max; }
    // The rise beyond which every channel is at its limit; 0 without shading.
    int64_t SaturatingRise() const {
        return ShadePerRise == 0.0 ? 0 : static_cast<int64_t>(256.0 / std::abs(ShadePerRise)) + 2;
    }

  private:
    const THeightColourTable& Table;
    int32_t Sea;
    int32_t Out;
    int32_t Min;
    int32_t Max;
    int32_t Pit;
    int32_t ShadowKK;
    int32_t CellSpacing;
    double ShadePerRise; // 0 when CellSpacing is 0: no shading
};

// One cell's colour, as THeightColouring::Colour.
inline int32_t HeightColour(int32_t Height, int32_t Rise, const TViewSettings& Settings,
                            const THeightColourTable& Table, int32_t CellSpacing) {
    return THeightColouring(Settings, Table, CellSpacing).Colour(Height, Rise);
}

} // namespace talvo
