#pragma once

#include <cstdint>
#include <optional>

#include "model/CellWindows.h"

namespace talvo {

// The pixels of the picture area and where the zoomed map lies under them: the zoom factor, the
// pixel of the zoomed map at the area's first pixel (negative where the map begins inside it),
// and the area's size.
struct TViewArea {
    double Zoom = 1.0;
    int32_t ScrollX = 0;
    int32_t ScrollY = 0;
    int32_t Width = 0;
    int32_t Height = 0;
};

// What a view of a map read by window draws: the window of cells under the area, and the
// picture it is drawn in, one pixel per cell at zoom 1 and above, one per square of 1 / zoom
// cells below (read from the overview of that detail). The picture's pixel (X, Y) covers the
// cells from (Window.Col + X CellsPerPixel, Window.Row + Y CellsPerPixel).
struct TViewRequest {
    TCellWindow Window;
    int32_t Cols = 0;
    int32_t Rows = 0;
    int32_t CellsPerPixel = 1;
};

// The pixels a view asks for beyond each edge of the picture area: a pan of up to that much
// shows what is drawn already.
constexpr int32_t ViewMargin = 256;

// The request of Area over a map of MapCols × MapRows cells, Margin pixels added on every side
// and the whole brought onto the map; nothing when the area shows none of it.
std::optional<TViewRequest> ViewRequest(int32_t MapCols, int32_t MapRows, const TViewArea& Area,
                                        int32_t Margin);

// Drawn holds every cell Wanted asks for, at Wanted's detail.
bool CoversRequest(const TViewRequest& Drawn, const TViewRequest& Wanted);

} // namespace talvo
