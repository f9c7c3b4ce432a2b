#pragma once

#include <optional>

#include "model/CellWindows.h"
#include "model/LoadedMap.h"
#include "platform/Bitmap.h"
#include "platform/Progress.h"
#include "render/HeightColourTable.h"
#include "settings/ViewSettings.h"

namespace talvo {

// The picture of Window of Map, a map read by window (Map.Windows), in Cols × Rows pixels: the
// window's cells read from the level nearest that resolution, one per pixel, coloured and shaded
// as DrawMapPicture draws a map, with the cell size of that grid. Progress counts the read's rows,
// then the picture's lines. Nothing when Progress is cancelled; a failed read is raised.
std::optional<TBitmap> DrawWindowPicture(const TLoadedMap& Map, const TCellWindow& Window,
                                         int32_t Cols, int32_t Rows, const TViewSettings& Settings,
                                         const THeightColourTable& Table, TProgress& Progress);

} // namespace talvo
