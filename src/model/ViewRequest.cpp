#include "model/ViewRequest.h"

#include <algorithm>
#include <cmath>

#include "model/MapViewRules.h"

namespace talvo {

namespace {

// The request along one axis: the first cell, the cells and the picture's pixels.
struct TAxisRequest {
    int32_t First = 0;
    int32_t Cells = 0;
    int32_t Pixels = 0;
};

std::optional<TAxisRequest> AxisRequest(int32_t MapCells, double Zoom, int32_t Scroll,
                                        int32_t Length, int32_t Margin, int32_t PerPixel) {
    // The zoomed map's pixels in view, the margin added.
    const int64_t From = std::max<int64_t>(0, int64_t{Scroll} - Margin);
    const int64_t To =
        std::min<int64_t>(ZoomedLength(MapCells, Zoom), int64_t{Scroll} + Length + Margin);
    if (To <= From) {
        return std::nullopt;
    }
    // Each pixel of the picture shows as Step pixels of the zoomed map: Zoom at 1 and above, else
    // one (a zoom's power of two makes the divisions exact).
    const double Step = Zoom * PerPixel;
    const auto First = static_cast<int64_t>(std::floor(static_cast<double>(From) / Step));
    const auto Last = static_cast<int64_t>(std::ceil(static_cast<double>(To) / Step));
    const int64_t FirstCell = First * PerPixel;
    const int64_t Cells = std::min<int64_t>((Last - First) * PerPixel, MapCells - FirstCell);
    const int64_t Pixels = Cells / PerPixel;
    if (Pixels < 1) {
        return std::nullopt;
    }
    return TAxisRequest{static_cast<int32_t>(FirstCell), static_cast<int32_t>(Pixels * PerPixel),
                        static_cast<int32_t>(Pixels)};
}

} // namespace

std::optional<TViewRequest> ViewRequest(int32_t MapCols, int32_t MapRows, const TViewArea& Area,
                                        int32_t Margin) {
    const int32_t PerPixel =
        Area.Zoom >= 1.0 ? 1 : static_cast<int32_t>(std::lround(1.0 / Area.Zoom));
    const std::optional<TAxisRequest> Across =
        AxisRequest(MapCols, Area.Zoom, Area.ScrollX, Area.Width, Margin, PerPixel);
    const std::optional<TAxisRequest> Down =
        AxisRequest(MapRows, Area.Zoom, Area.ScrollY, Area.Height, Margin, PerPixel);
    if (!Across || !Down) {
        return std::nullopt;
    }
    return TViewRequest{{Across->First, Down->First, Across->Cells, Down->Cells},
                        Across->Pixels,
                        Down->Pixels,
                        PerPixel};
}

bool CoversRequest(const TViewRequest& Drawn, const TViewRequest& Wanted) {
    const TCellWindow& D = Drawn.Window;
    const TCellWindow& W = Wanted.Window;
    return Drawn.CellsPerPixel == Wanted.CellsPerPixel && D.Col <= W.Col && D.Row <= W.Row &&
           D.Col + D.Cols >= W.Col + W.Cols && D.Row + D.Rows >= W.Row + W.Rows;
}

} // namespace talvo
