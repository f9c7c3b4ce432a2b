#include "render/Openness.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <numbers>

namespace talvo {
namespace {

constexpr int32_t Side = 21;    // cells; the middle one sees 10 cells in every direction
constexpr double Cell = 5.0;    // metres
constexpr double Radius = 50.0; // ten cells along a side, seven along a diagonal
constexpr double Diagonal = Cell * std::numbers::sqrt2;

double Degrees(double Radians) {
    return Radians * 180.0 / std::numbers::pi;
}

struct TCase {
    const char* Name;
    std::function<float(int32_t Col, int32_t Line)> Height;
    double Positive;
    double Negative;
};

// Openness known by hand from the elevation angles along the 4 sides and the 4 diagonals.
const TCase Cases[] = {
    {"a flat plane", [](int32_t, int32_t) { return 100.0F; }, 90.0, 90.0},
    // Each direction's angles are those of the opposite one, negated: they cancel.
    {"a tilted plane", [](int32_t Col, int32_t Line) { return 2.5F * Col + 1.0F * Line; }, 90.0,
     90.0},
    // 5 m deep: the nearest cells are highest in angle, the farthest lowest.
    {"a pit", [](int32_t Col, int32_t Line) { return Col == 10 && Line == 10 ? -5.0F : 0.0F; },
     90.0 - (4 * 45.0 + 4 * Degrees(std::atan(5.0 / Diagonal))) / 8,
     90.0 + (4 * Degrees(std::atan(5.0 / (10 * Cell))) +
             4 * Degrees(std::atan(5.0 / (7 * Diagonal)))) /
                8},
    // A wall 5 m high running north to south: level along it, falling away across it.
    {"a ridge", [](int32_t Col, int32_t) { return Col == 10 ? 5.0F : 0.0F; },
     90.0 + (2 * Degrees(std::atan(5.0 / (10 * Cell))) +
             4 * Degrees(std::atan(5.0 / (7 * Diagonal)))) /
                8,
     90.0 - (2 * 45.0 + 4 * Degrees(std::atan(5.0 / Diagonal))) / 8},
};

TEST(Openness, OfShapesKnownByHand) {
    for (const TCase& Case : Cases) {
        TReliefInput Input;
        Input.Width = Input.Height = Side;
        Input.CellSizes.assign(Side, {Cell, Cell});
        Input.FillLine = [&Case](int32_t Line, float* Heights) {
            for (int32_t Col = 0; Col < Side; ++Col) {
                Heights[Col] = Case.Height(Col, Line);
            }
        };
        const TLineBlock Block(Input, 0, Side, 0);
        std::vector<float> Positive(Side), Negative(Side);
        TOpenness(Radius).Line(Block, 10, Side, {Cell, Cell}, Positive.data(), Negative.data());
        EXPECT_NEAR(Positive[10], Case.Positive, 1e-4) << Case.Name;
        EXPECT_NEAR(Negative[10], Case.Negative, 1e-4) << Case.Name;
    }
}

} // namespace
} // namespace talvo
