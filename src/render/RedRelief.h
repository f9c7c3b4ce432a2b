#pragma once

#include <array>
#include <cstdint>

namespace talvo {

// The red relief image map (赤色立体地図) of Chiba, Kaneta and Suzuki (2008), "Red relief image
// map: new visualization method for three dimensional data", ISPRS Archives XXXVII-B2: a layer of
// the ridge-valley index
//   I = (Φ_L - Ψ_L) / 2    (positive minus negative openness, Openness.h)
// in grey, ridges light and valleys dark, multiplied by a layer of the slope in red, white on the
// flat and saturated on steep ground. The paper fixes neither scale; Talvo's are
//   grey g = clamp(0.75 + I / 40°, 0, 1)       (a plane is 0.75, a valley of I = -30° black)
//   red saturation s = clamp(slope / 45°, 0, 1)
//   colour = 255 × (g, g (1 - s), g (1 - s)), each at least 1
// so that a cell with data is never (0, 0, 0), the colour of no data.
std::array<uint8_t, 3> RedReliefColour(float Positive, float Negative, double SlopeDegrees);

} // namespace talvo
