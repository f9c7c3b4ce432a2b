#pragma once

#include <array>
#include <cstdint>

#include "settings/ViewSettings.h"

namespace talvo {

// The 51-step elevation ramp: entry 10k is anchor k, the nine between two anchors are
// interpolated.
using THeightColourTable = std::array<int32_t, 51>;

// Fills Table from anchors 0..5 of Settings.
void BuildHeightColourTable(const TIni& Settings, THeightColourTable& Table);

// Re-spaces anchors 1..4 evenly between anchors 0 and 5.
void EvenAnchors(TIni& Settings);

// The colour of a cell Height whole metres high that rises Rise tenths of a metre above its
// western neighbour: Sea below Min, Out above Max, otherwise the ramp entry Height / Pit
// lightened or darkened by the slope. Indexes outside the ramp take its nearest end; a Pit
// below 1 counts as 1; a CellSpacing of 0 gives no shading.
int32_t HeightColour(int32_t Height, int32_t Rise, const TIni& Settings,
                     const THeightColourTable& Table, int32_t CellSpacing);

} // namespace talvo
