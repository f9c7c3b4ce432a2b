#include "model/DegreeSize.h"

#include <GeographicLib/Ellipsoid.hpp>
#include <GeographicLib/NormalGravity.hpp>
#include <numbers>

namespace talvo {

TDegreeSize DegreeSizeAt(double Latitude) {
    static const GeographicLib::Ellipsoid Grs80(
        GeographicLib::NormalGravity::GRS80().EquatorialRadius(),
        GeographicLib::NormalGravity::GRS80().Flattening());
    constexpr double Radian = std::numbers::pi / 180.0;
    return {Grs80.CircleRadius(Latitude) * Radian,
            Grs80.MeridionalCurvatureRadius(Latitude) * Radian};
}

} // namespace talvo
