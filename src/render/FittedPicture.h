#pragma once

#include <cstdint>

#include "model/CellWindows.h"
#include "model/LoadedMap.h"
#include "platform/Bitmap.h"

namespace talvo {

// A picture of Region of a map in Cols × Rows pixels.
struct TPictureGrid {
    TCellWindow Region;
    int32_t Cols = 0;
    int32_t Rows = 0;
};

// The picture of the whole map, a pixel per cell.
TPictureGrid WholePicture(const TNum_HeaderRec& Header);

// Region fitted into at most MaxCols × MaxRows pixels with the same number of pixels per cell
// across and down, at least one pixel a side.
TPictureGrid FitPicture(const TCellWindow& Region, int32_t MaxCols, int32_t MaxRows);

// Place made the georeference of Grid's pixels: its transform moved to the region's corner and
// scaled to the pixels, its ground control points moved onto them. Place itself for the whole
// map's picture.
TGeoreference PictureGeoreference(const TGeoreference& Place, const TPictureGrid& Grid);

// Grid's picture taken from Picture, the map's picture a pixel per cell: each pixel the pixel of
// Picture nearest its centre.
TBitmap NearestPixels(const TBitmap& Picture, const TPictureGrid& Grid);

} // namespace talvo
