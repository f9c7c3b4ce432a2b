#include "model/ScaleBar.h"

#include <GeographicLib/Geodesic.hpp>
#include <cmath>

#include "model/CellReadout.h"

namespace talvo {

std::optional<TScaleBar> ScaleBarAt(const TLoadedMap& Map, double Col, double Line, double Scale,
                                    double MaxPixels) {
    if (!Map.Georeference.Georeferenced || !(Scale > 0.0)) {
        return std::nullopt;
    }
    double CellMetres = Map.NumHeader.CellSpacing / 10.0;
    if (!Map.NumHeader.Projected) {
        const TMapPoint West = PointAtGrid(Map, Col, Line);
        const TMapPoint East = PointAtGrid(Map, Col + 1.0, Line);
        if (!(std::abs(West.Y) <= 90.0)) {
            return std::nullopt;
        }
        GeographicLib::Geodesic::WGS84().Inverse(West.Y, West.X, East.Y, East.X, CellMetres);
    }
    const double MetresPerPixel = CellMetres / Scale;
    if (!(MetresPerPixel > 0.0) || !std::isfinite(MetresPerPixel)) {
        return std::nullopt;
    }
    const double Widest = MetresPerPixel * MaxPixels;
    double Power = std::pow(10.0, std::floor(std::log10(Widest)));
    double Length = Power;
    for (const double Step : {5.0, 2.0, 1.0}) {
        if (Step * Power <= Widest) {
            Length = Step * Power;
            break;
        }
    }
    const std::string Text = Length >= 1000.0 ? std::to_string(std::lround(Length / 1000.0)) + " km"
                             : Length >= 1.0  ? std::to_string(std::lround(Length)) + " m"
                                              : std::string();
    if (Text.empty()) {
        return std::nullopt;
    }
    return TScaleBar{Length / MetresPerPixel, Text};
}

} // namespace talvo
