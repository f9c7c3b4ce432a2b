#pragma once

#include "model/LoadedMap.h"
#include "model/Region.h"
#include "platform/Bitmap.h"

namespace talvo {

// The part of Map's Picture that covers Region: SizeX × SizeY pixels, the pixel of each of its
// cells, whatever the region's step; a cell whose grid row is drawn on no line of the picture is
// white, as the picture shows it.
TBitmap DrapeTexture(const TBitmap& Picture, const TLoadedMap& Map, const TRegion& Region);

} // namespace talvo
