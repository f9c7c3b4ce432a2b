#pragma once

#include <optional>
#include <string>

#include "model/LoadedMap.h"

namespace talvo {

// The scale bar over the picture: a round ground length and how many pixels show it.
struct TScaleBar {
    double Pixels = 0.0;
    std::string Text; // "500 m", "2 km"
};

// The longest length of 1, 2 or 5 times a power of ten metres that Map's cells show in at most
// MaxPixels pixels at zoom Scale, measured east-west at fractional cell (Col, Line): along the
// geodesic on WGS 84 for a map in degrees, in the cell size for a projected one. Nothing for a
// map whose cells lie at pixel and line, or when no such length fits.
std::optional<TScaleBar> ScaleBarAt(const TLoadedMap& Map, double Col, double Line, double Scale,
                                    double MaxPixels);

} // namespace talvo
