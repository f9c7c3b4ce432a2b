#include "render/Openness.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

namespace talvo {

namespace {

// One of the 8 directions: columns east and lines south per step.
struct TDirection {
    int32_t East;
    int32_t South;
};

constexpr TDirection Directions[] = {{1, 0},  {1, 1},   {0, 1},  {-1, 1},
                                     {-1, 0}, {-1, -1}, {0, -1}, {1, -1}};

constexpr double DegreesPerRadian = 180.0 / std::numbers::pi;

// The most steps a direction takes: a radius beyond any map runs to its edge and no further.
constexpr int32_t MostSteps = 1 << 20;

} // namespace

int32_t TOpenness::Steps(double Step) const {
    const double Cells = std::floor(Radius / Step);
    return static_cast<int32_t>(std::clamp(Cells, 1.0, static_cast<double>(MostSteps)));
}

void TOpenness::Line(const TLineBlock& Block, int32_t Line, int32_t Width, TCellSize Size,
                     float* Positive, float* Negative) const {
    constexpr float None = std::numeric_limits<float>::infinity();
    const float* Here = Block.Line(Line);
    const auto Cells = static_cast<size_t>(Width);
    std::vector<float> Highest(Cells);
    std::vector<float> Lowest(Cells);
    std::vector<double> SumPositive(Cells, 0.0);
    std::vector<double> SumNegative(Cells, 0.0);
    std::vector<int> Seen(Cells, 0);
    for (const TDirection D : Directions) {
        const double Step = std::hypot(D.East * Size.East, D.South * Size.North);
        const int32_t Count = Steps(Step);
        std::fill(Highest.begin(), Highest.end(), -None);
        std::fill(Lowest.begin(), Lowest.end(), None);
        for (int32_t K = 1; K <= Count; ++K) {
            const float* Far = Block.Line(Line + K * D.South);
            const int64_t Shift = static_cast<int64_t>(K) * D.East;
            if (!Far || std::abs(Shift) >= Width) {
                break;
            }
            const auto PerMetre = static_cast<float>(1.0 / (K * Step));
            const auto Start = static_cast<int32_t>(std::max<int64_t>(0, -Shift));
            const auto End = static_cast<int32_t>(std::min<int64_t>(Width, Width - Shift));
            // A cell without data gives NaN, which neither comparison takes.
            for (int32_t Col = Start; Col < End; ++Col) {
                const float Slope = (Far[Col + Shift] - Here[Col]) * PerMetre;
                Highest[Col] = Highest[Col] < Slope ? Slope : Highest[Col];
                Lowest[Col] = Slope < Lowest[Col] ? Slope : Lowest[Col];
            }
        }
        for (size_t Col = 0; Col < Cells; ++Col) {
            if (Highest[Col] != -None) {
                SumPositive[Col] += 90.0 - std::atan(Highest[Col]) * DegreesPerRadian;
                SumNegative[Col] += 90.0 + std::atan(Lowest[Col]) * DegreesPerRadian;
                ++Seen[Col];
            }
        }
    }
    for (size_t Col = 0; Col < Cells; ++Col) {
        const bool Has = Seen[Col] > 0 && !std::isnan(Here[Col]);
        Positive[Col] = Has ? static_cast<float>(SumPositive[Col] / Seen[Col])
                            : std::numeric_limits<float>::quiet_NaN();
        Negative[Col] = Has ? static_cast<float>(SumNegative[Col] / Seen[Col])
                            : std::numeric_limits<float>::quiet_NaN();
    }
}

} // namespace talvo
