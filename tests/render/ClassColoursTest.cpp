#include "render/ClassColours.h"

#include <gtest/gtest.h>

namespace talvo {
namespace {

TEST(ClassColours, CodesPickTheirClassAndStrayCodesTakeOut) {
    TViewSettings Settings;
    for (size_t I = 0; I < PaletteColourCount; ++I) {
        PaletteColour(Settings, I) = 1000 + static_cast<int32_t>(I);
    }
    Settings.Out = 7;

    EXPECT_EQ(LandUseColour(10, Settings), 1006);
    EXPECT_EQ(LandUseColour(15, Settings), 1006);
    EXPECT_EQ(LandUseColour(90, Settings), 1014);
    EXPECT_EQ(LandUseColour(99, Settings), 1014);
    EXPECT_EQ(LandUseColour(0, Settings), 1005);
    EXPECT_EQ(LandUseColour(100, Settings), 7);
    EXPECT_EQ(LandUseColour(-1, Settings), 7);
    EXPECT_EQ(LandUseColour(INT32_MAX, Settings), 7);

    EXPECT_EQ(VegetationColour(10, Settings), 1015);
    EXPECT_EQ(VegetationColour(150, Settings), 1029);
    EXPECT_EQ(VegetationColour(159, Settings), 1029);
    EXPECT_EQ(VegetationColour(9, Settings), 1014);
    EXPECT_EQ(VegetationColour(160, Settings), 7);
    EXPECT_EQ(VegetationColour(-10, Settings), 7);
    EXPECT_EQ(VegetationColour(INT32_MIN, Settings), 7);
}

} // namespace
} // namespace talvo
