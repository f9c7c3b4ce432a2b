#include "render/RedRelief.h"

#include <algorithm>
#include <cmath>

namespace talvo {

std::array<uint8_t, 3> RedReliefColour(float Positive, float Negative, double SlopeDegrees) {
    const double Index = (static_cast<double>(Positive) - Negative) / 2;
    const double Grey = std::clamp(0.75 + Index / 40.0, 0.0, 1.0);
    const double Saturation = std::clamp(SlopeDegrees / 45.0, 0.0, 1.0);
    const auto Level = [](double V) {
        return static_cast<uint8_t>(std::clamp(std::floor(255.0 * V + 0.5), 1.0, 255.0));
    };
    const uint8_t Pale = Level(Grey * (1 - Saturation));
    return {Level(Grey), Pale, Pale};
}

} // namespace talvo
