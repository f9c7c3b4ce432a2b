#pragma once

#include <cstdint>

namespace talvo {

// Where the picture lies in the picture area, one axis at a time. Scroll is the pixel of the
// zoomed picture at the view's first pixel: negative when the picture begins inside the view.

// How far the picture may be scrolled: a picture longer than the view fills it, a shorter one
// stays where it is (no scroll bar comes and goes with the view's size). A place beyond the
// longer one's range, where a zoom about the pointer left it, stays within reach until the
// picture is scrolled back from it.
struct TScrollLimits {
    int32_t Min;
    int32_t Max;
};
TScrollLimits ScrollLimits(int32_t Shown, int32_t View, int32_t Scroll);

// A picture shorter than the view centred in it; a longer one kept at Scroll, brought within
// its limits.
int32_t SettledScroll(int32_t Shown, int32_t View, int32_t Scroll);

// The scroll at zoom Scale that keeps the fractional cell Cell (brought onto the picture's Cells
// cells) under the view's pixel Anchor.
int32_t ScrollKeeping(double Cell, int32_t Cells, double Scale, int32_t Anchor);

} // namespace talvo
