#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/Region.h"

namespace talvo {

// The main window's arithmetic, kept apart from its widgets.

// Zoom factors run in powers of two from 8 down to 1/8, or further down for a map that 1/8 does
// not fit in the view (Least, see LeastZoom).
double ZoomIn(double MScale);
double ZoomOut(double MScale, double Least = 0.125);
// "x 8", "x 4", "x 2", "x 1", "1/2", "1/4", "1/8", "1/16" and so on.
std::string ZoomLabel(double MScale);
// A length of Cells cells shown at MScale, truncated.
int32_t ZoomedLength(int32_t Cells, double MScale);

// The largest zoom factor, 8 at most, that shows Width × Height cells within ViewWidth ×
// ViewHeight pixels.
double FittingZoom(int32_t Width, int32_t Height, int32_t ViewWidth, int32_t ViewHeight);
// The smallest zoom factor of such a map: 1/8, or the one that fits it when 1/8 does not.
double LeastZoom(int32_t Width, int32_t Height, int32_t ViewWidth, int32_t ViewHeight);

// The selection rectangle's bounds when it is shown: its right and bottom limits follow the
// shown picture, held inside the scroll box; a rectangle starting beyond the picture, or
// before it, starts at its edge 0 instead.
struct TSelectionBounds {
    int32_t Left;
    int32_t Top;
    int32_t MaxRight;
    int32_t MaxBottom;
};
TSelectionBounds SelectionBounds(int32_t Left, int32_t Top, int32_t PictureWidth,
                                 int32_t PictureHeight, int32_t ClientRight, int32_t ClientBottom);

// The 3D region of a selection rectangle (in pixels of the scroll box's visible area,
// scrolled by ScrollX, ScrollY) on a picture shown at MScale. Step and HScale come from the
// user's edits and raise EConvertError when they hold no integer.
TRegion SelectionRegion(int32_t Left, int32_t Top, int32_t Width, int32_t Height, int32_t ScrollX,
                        int32_t ScrollY, double MScale, std::string_view StepText,
                        std::string_view HScaleText);

// Saving the picture: a name without extension takes the chosen filter's (1: ".bmp",
// 2: ".jpg", 3: ".png").
std::string SaveName(const std::string& Chosen, int FilterIndex);

} // namespace talvo
