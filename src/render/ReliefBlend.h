#pragma once

#include <cstdint>
#include <optional>

#include "model/LoadedMap.h"
#include "render/HeightRowColouring.h"
#include "render/ReliefProducts.h"
#include "settings/ShadeMode.h"

namespace talvo {

// The relief a picture of Map is shaded with in Mode (gdaldem's defaults: light from 315° at
// 45°, z 1, the edges computed as -compute_edges does; the red relief at ten cells), the sea as no
// data; nothing for the ramp, or when Map's cells have no size on the ground, which then keeps
// the ramp. Its lines are computed as the picture's bands ask for them; it reads Map, which must
// outlive it.
std::optional<TPictureRelief> ShadingRelief(const TLoadedMap& Map, TShadeMode Mode);

// Width cells of tenths of a metre into Width pixels, shaded by Relief's line (Bands bytes a
// cell): a cell between Min and Max takes its plain ramp colour multiplied, channel by channel,
// by the relief's grey (or its red, green and blue) over 255, rounded to nearest, as a hillshade
// is laid over gdaldem's color-relief in multiply mode; the sea, heights above Max and cells where
// the relief has no data keep their colours unshaded.
void BlendReliefRow(const THeightRowColouring& Colours, const int32_t* Cells, int32_t Width,
                    const uint8_t* Relief, int32_t Bands, int32_t* Pixels);

} // namespace talvo
