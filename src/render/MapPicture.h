#pragma once

#include <optional>

#include "model/LoadedMap.h"
#include "model/OverlaySet.h"
#include "platform/Bitmap.h"
#include "platform/Progress.h"
#include "render/HeightColourTable.h"
#include "settings/ViewSettings.h"

namespace talvo {

// The picture of Map: Columns × Rows pixels, one per cell, grid row i on the picture line its
// RowLineGrid entry names (a line named by several rows shows the last of them; lines named by
// none stay white), coloured as the map's kind says: heights through the ramp with slope shading
// from the western neighbour (or multiplied by the relief Settings.Shade names, ReliefBlend.h,
// computed band by band with the colours), land use and vegetation by class; then, over it,
// each layer of Overlays that is loaded and that Layers asks for, in layer order. Lines are
// coloured in parallel bands; Progress counts them out of Rows. Nothing when Progress is cancelled
// before the picture is done. Reads no file.
std::optional<TBitmap> DrawMapPicture(const TLoadedMap& Map, const TOverlaySet& Overlays,
                                      const TViewSettings& Settings,
                                      const THeightColourTable& Table, const TLayerFlags& Layers,
                                      TProgress& Progress);

} // namespace talvo
