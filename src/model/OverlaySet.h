#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "model/OverlayLayers.h"

namespace talvo {

// One polyline vertex: Seq 0 starts an arc, any other value continues it.
struct OverlayPoint {
    int32_t Seq = 0;
    double Lat = 0.0;
    double Lon = 0.0;
};

// The .e00 layers read for one map so far: a layer is read when it is first ticked and kept
// for the map's later pictures.
struct TOverlaySet {
    std::array<std::vector<OverlayPoint>, OverlayLayerCount> Lists;
    TLayerFlags Loaded{};
};

} // namespace talvo
