#pragma once

#include <string>

#include "model/MapHost.h"
#include "model/MapState.h"
#include "render/HeightColourTable.h"
#include "settings/ViewSettings.h"

namespace talvo {

// Draws the loaded map as a picture of Pts_WE × Pts_NS pixels, one per cell, row i on the
// picture row its RowLineGrid entry names: elevation kinds ("NM", "EL", "BL") through the
// ramp with slope shading, "LU" and "VG" by class; then the ticked overlay layers. The picture
// goes to Host. Settings and Table are read row by row, so a change made while the window
// handles its messages applies to the rows after it. A call made while a picture is being
// drawn (from those messages) is ignored.
void RenderMap(const std::string& Kind, MapState& Map, const TIni& Settings,
               const THeightColourTable& Table, TMapHost& Host);

} // namespace talvo
