#include "view3d/TerrainCells.h"

#include <gtest/gtest.h>

#include "import/GdalCellWindows.h"
#include "import/OpenMap.h"
#include "view3d/TerrainMesh.h"

namespace talvo {
namespace {

// The sample raster held whole and read by window: the terrain of a region is built from the
// same heights, and at a step from the cell at the centre of each square, in the same shape.
TEST(TerrainCells, AMapReadByWindowGivesTheRegionsSamples) {
    const std::string Path = TALVO_SAMPLES_DIR "/jacksboro/jacksboro.tif";
    const auto Whole = std::make_shared<const TLoadedMap>(OpenMap(Path).Map);
    const auto ByWindow = std::make_shared<const TLoadedMap>(OpenGdalRasterByWindow(Path));
    ASSERT_FALSE(Whole->Windows);
    ASSERT_TRUE(ByWindow->Windows);
    TViewSettings Settings;
    for (const int32_t Step : {1, 3, 4}) {
        SCOPED_TRACE(Step);
        const TRegion Region{37, 150, 61, 43, Step, 1.0F};
        TProgress Unwatched;
        const TTerrainCells Held = TerrainCellsOf(Whole, Region, Unwatched);
        const TTerrainCells Read = TerrainCellsOf(ByWindow, Region, Unwatched);
        EXPECT_EQ(Held.Map, Whole);
        const TRegion& Samples = Read.Region;
        ASSERT_EQ(Samples.SizeX, 61 / Step);
        ASSERT_EQ(Samples.SizeY, 43 / Step);
        EXPECT_EQ(Samples.Step, 1);
        for (int32_t R = 0; R < Samples.SizeY; ++R) {
            for (int32_t C = 0; C < Samples.SizeX; ++C) {
                ASSERT_EQ(Read.Map->NumData.HeightGrid.GetVal(R, C),
                          Whole->NumData.HeightGrid.GetVal(150 + R * Step + Step / 2,
                                                           37 + C * Step + Step / 2))
                    << R << ", " << C;
            }
        }
        const TViewScene::TModelBox HeldBox = TerrainBox(*Whole, Region, Settings);
        const TViewScene::TModelBox ReadBox = TerrainBox(*Read.Map, Samples, Settings);
        EXPECT_EQ(ReadBox.Width * Step, HeldBox.Width);
        EXPECT_EQ(ReadBox.Depth * Step, HeldBox.Depth);
        // Heights against the extent as on the map: the cell size is the squares'.
        const auto Lift = [](const TLoadedMap& Map) { return 1.0 / Map.NumHeader.CellSpacing; };
        EXPECT_NEAR(Lift(*Read.Map) * Step, Lift(*Whole), 0.01 * Lift(*Whole));
    }
}

} // namespace
} // namespace talvo
