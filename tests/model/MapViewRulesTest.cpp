#include "model/MapViewRules.h"

#include <gtest/gtest.h>

#include "platform/Errors.h"

namespace talvo {
namespace {

TEST(MapViewRules, ZoomStepsLabelsAndSizes) {
    double Scale = 1;
    std::vector<std::string> Labels;
    for (int I = 0; I < 4; ++I) {
        Scale = ZoomIn(Scale);
        Labels.push_back(ZoomLabel(Scale));
    }
    EXPECT_EQ(Labels, (std::vector<std::string>{"x 2", "x 4", "x 8", "x 8"}));
    Labels.clear();
    Scale = 1;
    for (int I = 0; I < 4; ++I) {
        Scale = ZoomOut(Scale);
        Labels.push_back(ZoomLabel(Scale));
    }
    EXPECT_EQ(Labels, (std::vector<std::string>{"1/2", "1/4", "1/8", "1/8"}));
    EXPECT_EQ(ZoomLabel(1), "x 1");
    EXPECT_EQ(ZoomedLength(200, 0.25), 50);
    EXPECT_EQ(ZoomedLength(200, 8), 1600);
    EXPECT_EQ(ZoomedLength(3, 0.125), 0);
}

TEST(MapViewRules, SelectionBoundsFollowThePicture) {
    TSelectionBounds Bounds = SelectionBounds(300, 20, 200, 200, 470, 430);
    EXPECT_EQ(Bounds.Left, 0);
    EXPECT_EQ(Bounds.Top, 20);
    EXPECT_EQ(Bounds.MaxRight, 200);
    EXPECT_EQ(Bounds.MaxBottom, 200);
    Bounds = SelectionBounds(5, 500, 1600, 1600, 470, 430);
    EXPECT_EQ(Bounds.Top, 500);
    EXPECT_EQ(Bounds.MaxRight, 470); // held inside the scroll box
    EXPECT_EQ(Bounds.MaxBottom, 430);
}

TEST(MapViewRules, SelectionRegionInCells) {
    TRegion Region = SelectionRegion(10, 20, 101, 51, 0, 0, 2, "1", "3");
    EXPECT_EQ(Region.StartX, 5);
    EXPECT_EQ(Region.StartY, 10);
    EXPECT_EQ(Region.SizeX, 50);
    EXPECT_EQ(Region.SizeY, 25);
    EXPECT_EQ(Region.Step, 1);
    EXPECT_EQ(Region.HScale, 3);
    Region = SelectionRegion(10, 20, 101, 51, 30, 7, 0.5, "2", "1");
    EXPECT_EQ(Region.StartX, 80); // 10 / 0.5 + 30 / 0.5
    EXPECT_EQ(Region.StartY, 54);
    EXPECT_EQ(Region.SizeX, 200);
    EXPECT_THROW(SelectionRegion(0, 0, 5, 5, 0, 0, 1, "x", "1"), EConvertError);
    EXPECT_THROW(SelectionRegion(0, 0, 5, 5, 0, 0, 1, "1", " "), EConvertError);
}

TEST(MapViewRules, SaveNames) {
    EXPECT_EQ(SaveName("/p/map", 2), "/p/map.jpg");
    EXPECT_EQ(SaveName("/p/map", 1), "/p/map.bmp");
    EXPECT_EQ(SaveName("/p/map", 3), "/p/map.png");
    EXPECT_EQ(SaveName("/p/map.JPG", 1), "/p/map.JPG");
    EXPECT_EQ(SaveName("/p/x.d/map", 1), "/p/x.d/map.bmp");
}

} // namespace
} // namespace talvo
