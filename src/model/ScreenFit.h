#pragma once

#include <cstdint>
#include <vector>

namespace talvo {

// A rectangle in screen pixels.
struct TScreenRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;
};

// Where a window saved at Window appears now: on the screen it overlaps most (the nearest when it
// overlaps none, for instance after a monitor was unplugged), shrunk to that screen's size and
// moved wholly onto it. Unchanged when it already lies on a screen, or when there is no screen.
TScreenRect FitOnScreens(const TScreenRect& Window, const std::vector<TScreenRect>& Screens);

// Where a window of Width × Height (frame included) goes beside Main (also its frame), on the
// screen Main is on: to its right where that screen has room, else to its left, else below it,
// top edges level; when none of them fits, to the right, brought onto the screen.
TScreenRect PlaceBeside(const TScreenRect& Main, int32_t Width, int32_t Height,
                        const std::vector<TScreenRect>& Screens);

} // namespace talvo
