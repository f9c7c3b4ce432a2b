#pragma once

#include <array>

namespace talvo {

// The six vector layers: administrative boundaries, rivers, lakes, ordinary roads, expressways
// and railways, always in this order.
constexpr int OverlayLayerCount = 6;

// Layer codes: the start of each layer's file name and of the command line's --layers.
inline constexpr std::array<const char*, OverlayLayerCount> OverlayLayerCodes = {"ad", "rv", "lk",
                                                                                 "rd", "hw", "rw"};

// One flag per layer, in layer order: which layers are ticked, or drawn.
using TLayerFlags = std::array<bool, OverlayLayerCount>;

} // namespace talvo
