#pragma once

#include <cstdint>
#include <vector>

#include "model/LoadedMap.h"
#include "model/OverlaySet.h"
#include "platform/Bitmap.h"

namespace talvo {

// Draws List's polylines on Picture in Colour: each vertex projected linearly from the map's
// corners onto its Columns × Rows pixels. A map whose corners enclose no area draws nothing.
void DrawOverlay(TBitmap& Picture, const std::vector<OverlayPoint>& List, int32_t Colour,
                 const TLoadedMap& Map);

} // namespace talvo
