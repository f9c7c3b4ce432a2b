#include "render/ColourBar.h"

#include <gtest/gtest.h>

namespace talvo {
namespace {

TEST(ColourBar, BandsOfTheTallBar) {
    std::vector<TColourBand> Bands = ColourBarBands(185);
    ASSERT_EQ(Bands.size(), 51u);
    const int32_t Tops[] = {0, 3, 7, 11, 14};
    for (int I = 0; I < 5; ++I) {
        EXPECT_EQ(Bands[static_cast<size_t>(I)].Top, Tops[I]) << I;
    }
    EXPECT_EQ(Bands[0].Bottom, 4); // one line into the next band, painted over later
    EXPECT_EQ(Bands[50].Top, 185); // the last entry starts at the bottom edge: not seen
}

} // namespace
} // namespace talvo
