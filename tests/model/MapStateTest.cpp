#include "model/MapState.h"

#include <gtest/gtest.h>

namespace talvo {
namespace {

TEST(MapState, InitMakesOneZeroCellGridsAndNothingLoaded) {
    MapState Map;
    InitMapState(Map);
    EXPECT_EQ(Map.NumData.RowLineGrid.Rows(), 1);
    EXPECT_EQ(Map.NumData.RowLineGrid.GetVal(0, 0), 0);
    EXPECT_EQ(Map.NumData.HeightGrid.Cols(), 1);
    EXPECT_EQ(Map.NumData.HeightGrid.GetVal(0, 0), 0);
    EXPECT_TRUE(Map.NumHeader.MapKind.empty());
    EXPECT_EQ(Map.RowsRead, 0);
    for (int Layer = 0; Layer < OverlayLayerCount; ++Layer) {
        EXPECT_TRUE(Map.NumHeader.OverlayLists[Layer].empty());
        EXPECT_FALSE(Map.NumHeader.OverlayLoaded[Layer]);
    }
}

TEST(MapState, ResetEmptiesTheHeaderAndOverlaysButKeepsGridsAndRasterWidths) {
    MapState Map;
    InitMapState(Map);
    TNum_HeaderRec& H = Map.NumHeader;
    H.MeshCode = "533945";
    H.Org_Scale = 25000;
    H.Pts_WE = 2;
    H.Ido_EN = 35.4;
    H.Zu_name[3] = "x";
    H.Comment = "a comment";
    H.CellSpacing = 500;
    H.BytesPerCell = 2;
    H.DataFileName = "/data/EL533945";
    H.MapKind = MapKindElevation;
    H.CellWidthLat = 0.0025;
    H.CellWidthLon = 0.00375;
    H.D3Step = 3;
    H.OverlayLists[0].push_back({0, 35.0, 139.0});
    H.OverlayLists[5].push_back({1, 35.1, 139.1});
    H.OverlayLoaded = {true, false, false, false, false, true};
    Map.NumData.HeightGrid.ReDim(3, 4, false);
    Map.NumData.HeightGrid.SetVal(2, 3, 7);
    Map.NumData.RecCode = "5339";
    Map.RowsRead = 3;

    ResetMapState(Map);

    EXPECT_TRUE(H.MeshCode.empty());
    EXPECT_EQ(H.Org_Scale, 0);
    EXPECT_EQ(H.Pts_WE, 0);
    EXPECT_EQ(H.Ido_EN, 0.0);
    EXPECT_TRUE(H.Zu_name[3].empty());
    EXPECT_TRUE(H.Comment.empty());
    EXPECT_EQ(H.CellSpacing, 0);
    EXPECT_EQ(H.BytesPerCell, 0);
    EXPECT_TRUE(H.DataFileName.empty());
    EXPECT_TRUE(H.MapKind.empty());
    for (int Layer = 0; Layer < OverlayLayerCount; ++Layer) {
        EXPECT_TRUE(H.OverlayLists[Layer].empty());
        EXPECT_FALSE(H.OverlayLoaded[Layer]);
    }
    EXPECT_EQ(H.CellWidthLat, 0.0025);
    EXPECT_EQ(H.CellWidthLon, 0.00375);
    EXPECT_EQ(H.D3Step, 3);
    EXPECT_EQ(Map.NumData.HeightGrid.GetVal(2, 3), 7);
    EXPECT_EQ(Map.NumData.RecCode, "5339");
    EXPECT_EQ(Map.RowsRead, 3);
}

} // namespace
} // namespace talvo
