#include "model/SelShapeRules.h"

#include <gtest/gtest.h>

namespace talvo {
namespace {

constexpr int All = ResizeX | ResizeY | MoveX | MoveY;

TSelLimits Limits(int MaxBottom = 0, int MaxRight = 0, int Options = All) {
    return {5, 5, 0, 0, MaxBottom, MaxRight, 400, 300, Options};
}

TEST(SelShapeRules, HitZones) {
    EXPECT_EQ(HitTest(5, 30, 65, 65, 5), 3);
    EXPECT_EQ(HitTest(6, 30, 65, 65, 5), 0);
    EXPECT_EQ(HitTest(60, 30, 65, 65, 5), 4);
    EXPECT_EQ(HitTest(59, 30, 65, 65, 5), 0);
    EXPECT_EQ(HitTest(3, 62, 65, 65, 5), 8);
    EXPECT_EQ(HitTest(62, 2, 65, 65, 5), 5);
    EXPECT_EQ(HitTest(30, 1, 65, 65, 5), 1);
    for (int X = 0; X < 8; ++X) {
        EXPECT_NE(HitTest(X, 30, 8, 65, 5), 0) << X; // no inside to move an 8-pixel rectangle by
    }
}

TEST(SelShapeRules, OptionFilter) {
    for (int Zone = 0; Zone <= 8; ++Zone) {
        EXPECT_EQ(FilterZone(Zone, MoveX | MoveY), 0) << Zone;
    }
    EXPECT_EQ(FilterZone(5, ResizeY | MoveX | MoveY), 1);
    EXPECT_EQ(FilterZone(8, ResizeY | MoveX | MoveY), 2);
    EXPECT_EQ(FilterZone(7, ResizeX | MoveX | MoveY), 4);
    EXPECT_EQ(FilterZone(6, ResizeX | MoveX | MoveY), 3);
    EXPECT_EQ(FilterZone(6, All), 6);
}

TEST(SelShapeRules, BottomAndRightEdgesStopAtTheirLimits) {
    TSelRect Rect{10, 100, 50, 100};
    int LastY = 40;
    MoveBottomEdge(Rect, 10, Limits(200), LastY);
    EXPECT_EQ(Rect.Height, 100); // already at MaxBottom
    EXPECT_EQ(LastY, 40);
    MoveBottomEdge(Rect, 250, Limits(0), LastY); // no MaxBottom: the parent's 300
    EXPECT_EQ(Rect.Top + Rect.Height, 300);
    EXPECT_EQ(LastY, 140);
    MoveBottomEdge(Rect, -197, Limits(0), LastY); // below MinHeight: refused
    EXPECT_EQ(Rect.Height, 200);
    int LastX = 0;
    MoveRightEdge(Rect, 1000, Limits(0, 100), LastX);
    EXPECT_EQ(Rect.Left + Rect.Width, 100);
}

TEST(SelShapeRules, TopAndLeftEdgesRefuseOrStop) {
    TSelRect Rect{10, 20, 50, 10};
    MoveTopEdge(Rect, 6, Limits()); // would leave 4 lines: refused whole
    EXPECT_EQ(Rect.Top, 20);
    EXPECT_EQ(Rect.Height, 10);
    MoveTopEdge(Rect, -50, Limits()); // stops at MinTop, bottom stays
    EXPECT_EQ(Rect.Top, 0);
    EXPECT_EQ(Rect.Height, 30);
    MoveLeftEdge(Rect, -30, Limits());
    EXPECT_EQ(Rect.Left, 0);
    EXPECT_EQ(Rect.Width, 60);
}

TEST(SelShapeRules, MovingTheWholeRectangle) {
    TSelRect Rect{10, 10, 50, 40};
    MoveWhole(Rect, -30, 0, Limits());
    EXPECT_EQ(Rect.Left, 0);
    MoveWhole(Rect, 1000, 1000, Limits(0, 200));
    EXPECT_EQ(Rect.Left + Rect.Width, 200);
    EXPECT_EQ(Rect.Top + Rect.Height, 300);
    TSelRect Wide{0, 0, 500, 40}; // larger than the range: ends against the far limit
    MoveWhole(Wide, 5, 0, Limits());
    EXPECT_EQ(Wide.Left, -100);

    int LastX = 3, LastY = 4;
    TSelRect Inside{10, 10, 50, 40};
    DragStep(0, 5, 5, Inside, Limits(0, 0, ResizeX | ResizeY), LastX, LastY);
    EXPECT_EQ(Inside.Left, 10); // moving not allowed
    DragStep(0, 5, 6, Inside, Limits(), LastX, LastY);
    EXPECT_EQ(Inside.Left, 15);
    EXPECT_EQ(Inside.Top, 16);
    EXPECT_EQ(LastX, 3); // the rectangle follows the pointer
}

} // namespace
} // namespace talvo
