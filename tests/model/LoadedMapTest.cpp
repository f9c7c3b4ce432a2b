#include "model/LoadedMap.h"

#include <gtest/gtest.h>

namespace talvo {
namespace {

TEST(LoadedMap, InitMakesOneZeroCellGridsAndNothingLoaded) {
    TLoadedMap Map;
    InitLoadedMap(Map);
    EXPECT_EQ(Map.NumData.RowLineGrid.Rows(), 1);
    EXPECT_EQ(Map.NumData.RowLineGrid.GetVal(0, 0), 0);
    EXPECT_EQ(Map.NumData.HeightGrid.Cols(), 1);
    EXPECT_EQ(Map.NumData.HeightGrid.GetVal(0, 0), 0);
    EXPECT_FALSE(IsMapLoaded(Map.NumHeader.MapKind));
    EXPECT_EQ(Map.RowsRead, 0);
}

TEST(LoadedMap, ALoadStartsEmptyButForTheLastRastersCellWidths) {
    TLoadedMap Previous;
    InitLoadedMap(Previous);
    TNum_HeaderRec& H = Previous.NumHeader;
    H.MeshCode = "533945";
    H.Columns = 2;
    H.CellSpacing = 500;
    H.MapKind = TMapKind::Elevation;
    H.CellWidthLat = 0.0025;
    H.CellWidthLon = 0.00375;
    Previous.NumData.HeightGrid.ReDim(3, 4, false);
    Previous.RowsRead = 3;

    const TLoadedMap Map = StartLoadedMap(Previous);
    EXPECT_TRUE(Map.NumHeader.MeshCode.empty());
    EXPECT_EQ(Map.NumHeader.Columns, 0);
    EXPECT_EQ(Map.NumHeader.CellSpacing, 0);
    EXPECT_FALSE(IsMapLoaded(Map.NumHeader.MapKind));
    EXPECT_EQ(Map.NumData.HeightGrid.Rows(), 1);
    EXPECT_EQ(Map.RowsRead, 0);
    EXPECT_EQ(Map.NumHeader.CellWidthLat, 0.0025);
    EXPECT_EQ(Map.NumHeader.CellWidthLon, 0.00375);
}

TEST(LoadedMap, TheTransformSpansTheCornersInDegrees) {
    TNum_HeaderRec H;
    H.MapKind = TMapKind::Numeric; // d.mmss: 35°30' to 36°00' N, 139°00' to 139°15' E
    H.SouthLatitude = 35.30;
    H.NorthLatitude = 36.0;
    H.WestLongitude = 139.0;
    H.EastLongitude = 139.15;
    H.Columns = 50;
    H.Rows = 100;
    const std::array<double, 6> T = TransformOfBounds(H);
    EXPECT_DOUBLE_EQ(T[0], 139.0);
    EXPECT_DOUBLE_EQ(T[1], 0.25 / 50);
    EXPECT_DOUBLE_EQ(T[3], 36.0);
    EXPECT_DOUBLE_EQ(T[5], -0.5 / 100);
    EXPECT_EQ(T[2], 0.0);
    EXPECT_EQ(T[4], 0.0);
}

} // namespace
} // namespace talvo
