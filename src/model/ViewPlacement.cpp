#include "model/ViewPlacement.h"

#include <algorithm>
#include <cmath>

namespace talvo {

TScrollLimits ScrollLimits(int32_t Shown, int32_t View, int32_t Scroll) {
    if (Shown < View) {
        return {Scroll, Scroll};
    }
    return {std::min(0, Scroll), std::max(Shown - View, Scroll)};
}

int32_t SettledScroll(int32_t Shown, int32_t View, int32_t Scroll) {
    if (Shown < View) {
        return (Shown - View) / 2;
    }
    return std::clamp(Scroll, 0, Shown - View);
}

int32_t ScrollKeeping(double Cell, int32_t Cells, double Scale, int32_t Anchor) {
    // A pointer beside the picture holds the nearest cell: the picture stays in view.
    const double Held = std::clamp(Cell, 0.0, static_cast<double>(std::max(Cells, 0)));
    const double Scroll = std::floor(Held * Scale) - Anchor;
    return static_cast<int32_t>(std::clamp(Scroll, -1e9, 1e9));
}

} // namespace talvo
