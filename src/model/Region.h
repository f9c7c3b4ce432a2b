#pragma once

#include <cstdint>

namespace talvo {

// A region of the grid for the 3D view and --mesh: first column and row, width and height in
// cells, the step between samples and the height scale.
struct TRegion {
    int32_t StartX = 0;
    int32_t StartY = 0;
    int32_t SizeX = 0;
    int32_t SizeY = 0;
    int32_t Step = 0;
    float HScale = 0.0f;
};

// The samples a region gives at its step (a step below 1 counted as 1).
inline int64_t SampleCount(const TRegion& Region) {
    const int32_t Step = Region.Step < 1 ? 1 : Region.Step;
    return int64_t{Region.SizeX / Step} * (Region.SizeY / Step);
}

} // namespace talvo
