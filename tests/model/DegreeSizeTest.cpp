#include "model/DegreeSize.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace talvo {
namespace {

// The radii of curvature of the GRS80 ellipsoid (a = 6378137 m, 1/f = 298.257222101) in closed
// form: the parallel's N cos φ and the meridian's M = a (1 - e²) / (1 - e² sin² φ)^(3/2).
TEST(DegreeSize, OnGrs80) {
    constexpr double A = 6378137.0;
    constexpr double F = 1 / 298.257222101;
    constexpr double E2 = F * (2 - F);
    constexpr double Radian = std::numbers::pi / 180;
    for (const double Latitude : {0.0, 36.0, -60.0, 89.9}) {
        const double Sin = std::sin(Latitude * Radian);
        const double W = std::sqrt(1 - E2 * Sin * Sin);
        const TDegreeSize Size = DegreeSizeAt(Latitude);
        EXPECT_NEAR(Size.East, Radian * A * std::cos(Latitude * Radian) / W, 1e-6) << Latitude;
        EXPECT_NEAR(Size.North, Radian * A * (1 - E2) / (W * W * W), 1e-6) << Latitude;
    }
}

} // namespace
} // namespace talvo
