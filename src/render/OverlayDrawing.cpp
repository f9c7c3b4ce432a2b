#include "render/OverlayDrawing.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace talvo {

namespace {

// A projected position as a canvas coordinate; positions beyond the 32-bit range (only from
// absurd data) are held at its edge.
int32_t CanvasCoordinate(long double Position) {
    if (std::isnan(Position)) {
        return 0;
    }
    constexpr long double Low = std::numeric_limits<int32_t>::min();
    constexpr long double High = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::clamp(Position, Low, High));
}

} // namespace

void DrawOverlay(TBitmap& Picture, const std::vector<OverlayPoint>& List, int32_t Colour,
                 const TLoadedMap& Map) {
    const TNum_HeaderRec& H = Map.NumHeader;
    const auto [South, West, North, East] = BoundsOf(H);
    if (North == South || East == West) {
        return;
    }
    Picture.SetPenColour(Colour);
    for (const OverlayPoint& Point : List) {
        const long double Y =
            H.Rows - std::trunc((Point.Lat - South) / (North - South) * H.Rows);
        const long double X = std::trunc((Point.Lon - West) / (East - West) * H.Columns);
        if (Point.Seq == 0) {
            Picture.MoveTo(CanvasCoordinate(X), CanvasCoordinate(Y));
        } else {
            Picture.LineTo(CanvasCoordinate(X), CanvasCoordinate(Y));
        }
    }
}

} // namespace talvo
