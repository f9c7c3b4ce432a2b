#include "model/ViewPlacement.h"

#include <cmath>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace talvo {
namespace {

// Zooms of a 403-cell axis in a 480-pixel view about a pixel of the view: the cell under that
// pixel stays under it at every step, whether the picture is shorter than the view or not.
TEST(ViewPlacement, AZoomAboutAPixelKeepsItsCell) {
    struct TCase {
        int32_t Anchor;
        std::vector<double> Scales;
    };
    const TCase Cases[] = {
        {48, {1, 2, 4, 8, 4, 2, 1}}, {441, {1, 2, 1}}, {240, {1, 8, 1}}, {100, {2, 1, 2, 4, 1}}};
    for (const TCase& Case : Cases) {
        int32_t Scroll = SettledScroll(403, 480, 0); // centred: the picture starts 38 pixels in
        double Shown = Case.Scales.front();
        const double Cell = std::floor((Scroll + Case.Anchor) / Shown);
        for (const double Scale : Case.Scales) {
            Scroll = ScrollKeeping((Scroll + Case.Anchor) / std::exchange(Shown, Scale), 403, Scale,
                                   Case.Anchor);
            EXPECT_EQ(std::floor((Scroll + Case.Anchor) / Scale), Cell)
                << "anchor " << Case.Anchor << " at x " << Scale;
        }
    }
}

TEST(ViewPlacement, AShorterPictureIsCentredALongerOneFillsTheView) {
    EXPECT_EQ(SettledScroll(403, 480, 120), -38);
    EXPECT_EQ(SettledScroll(806, 480, 400), 326);
    EXPECT_EQ(SettledScroll(806, 480, -50), 0);
    // Where a zoom left the picture stays within reach, and the usual range with it.
    const TScrollLimits Centred = ScrollLimits(403, 480, -38);
    EXPECT_EQ(Centred.Min, -38);
    EXPECT_EQ(Centred.Max, -38);
    const TScrollLimits Beyond = ScrollLimits(806, 480, -60);
    EXPECT_EQ(Beyond.Min, -60);
    EXPECT_EQ(Beyond.Max, 326);
    // A pointer beside the picture holds its nearest edge.
    EXPECT_EQ(ScrollKeeping(-5.0, 403, 2, 10), -10);
}

} // namespace
} // namespace talvo
