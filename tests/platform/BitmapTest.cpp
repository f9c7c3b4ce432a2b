#include "platform/Bitmap.h"

#include <climits>
#include <gtest/gtest.h>

#include "platform/Errors.h"

namespace talvo {
namespace {

constexpr int32_t Ink = 0x123456;

// The drawn pixels as text, one line per row: '#' drawn, '.' white.
std::string Drawn(const TBitmap& Picture) {
    std::string Text;
    for (int32_t Y = 0; Y < Picture.Height(); ++Y) {
        for (int32_t X = 0; X < Picture.Width(); ++X) {
            Text += Picture.Pixel(X, Y) == Ink ? '#' : '.';
        }
        Text += '\n';
    }
    return Text;
}

TEST(Bitmap, StartsWhiteAndIgnoresWritesOutside) {
    TBitmap Picture(3, 2);
    EXPECT_EQ(Picture.Pixel(2, 1), TBitmap::White);
    Picture.SetPixel(-1, 0, Ink);
    Picture.SetPixel(3, 0, Ink);
    Picture.SetPixel(0, 2, Ink);
    Picture.SetPixel(1, 1, Ink);
    EXPECT_EQ(Drawn(Picture), "...\n.#.\n");
    EXPECT_THROW(TBitmap(0, 5), ETalvoError);
    EXPECT_THROW(TBitmap(70000, 70000), ETalvoError);
}

TEST(Bitmap, LinesLeaveTheEndPixelUndrawn) {
    TBitmap Picture(6, 4);
    Picture.SetPenColour(Ink);
    Picture.MoveTo(0, 0);
    Picture.LineTo(5, 0);
    Picture.LineTo(5, 3);
    Picture.MoveTo(0, 3);
    Picture.LineTo(2, 1); // diagonal: (0,3) and (1,2), not (2,1)
    EXPECT_EQ(Drawn(Picture), "######\n"
                              ".....#\n"
                              ".#...#\n"
                              "#.....\n");
    TBitmap Dot(2, 2);
    Dot.SetPenColour(Ink);
    Dot.MoveTo(1, 1);
    Dot.LineTo(1, 1);
    EXPECT_EQ(Drawn(Dot), "..\n..\n");
}

TEST(Bitmap, ShallowLinesStepLikeBresenham) {
    TBitmap Picture(9, 3);
    Picture.SetPenColour(Ink);
    Picture.MoveTo(0, 0);
    Picture.LineTo(8, 2);
    EXPECT_EQ(Drawn(Picture), "##.......\n"
                              "..####...\n"
                              "......##.\n");
}

TEST(Bitmap, ClippedLinesDrawWhatTheWholeLineWould) {
    // The same line drawn whole on a big picture and clipped on a small window of it.
    TBitmap Big(40, 30);
    Big.SetPenColour(Ink);
    Big.MoveTo(-7 + 20, -13 + 15);
    Big.LineTo(19 + 20, 11 + 15);
    TBitmap Small(10, 8);
    Small.SetPenColour(Ink);
    Small.MoveTo(-7, -13);
    Small.LineTo(19, 11);
    for (int32_t Y = 0; Y < 8; ++Y) {
        for (int32_t X = 0; X < 10; ++X) {
            EXPECT_EQ(Small.Pixel(X, Y), Big.Pixel(X + 20, Y + 15)) << X << "," << Y;
        }
    }
}

TEST(Bitmap, FarAwayEndsNeitherOverflowNorTakeLong) {
    TBitmap Picture(5, 5);
    Picture.SetPenColour(Ink);
    Picture.MoveTo(INT32_MIN, 2);
    Picture.LineTo(INT32_MAX, 2); // a horizontal line through the picture
    EXPECT_EQ(Drawn(Picture), ".....\n.....\n#####\n.....\n.....\n");
    Picture.MoveTo(INT32_MIN, INT32_MIN);
    Picture.LineTo(INT32_MAX, INT32_MAX); // the diagonal
    for (int32_t I = 0; I < 5; ++I) {
        EXPECT_EQ(Picture.Pixel(I, I), Ink) << I;
    }
    Picture.MoveTo(INT32_MAX, INT32_MIN);
    Picture.LineTo(INT32_MAX, INT32_MAX); // wholly outside
    EXPECT_EQ(Picture.Pixel(4, 0), TBitmap::White);
}

} // namespace
} // namespace talvo
