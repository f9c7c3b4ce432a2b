#include "settings/BoundsLine.h"

#include <gtest/gtest.h>

namespace talvo {
namespace {

TEST(BoundsLine, WrittenAndReadBack) {
    TWindowBounds Bounds{2, -1, -1, -1, -1, 10, 20, 410, 320};
    EXPECT_EQ(FormatBounds(Bounds), "2,-1,-1,-1,-1,10,20,410,320");
    std::optional<TWindowBounds> Read = ParseBounds(FormatBounds(Bounds), {});
    ASSERT_TRUE(Read);
    EXPECT_EQ(Read->State, 2);
    EXPECT_EQ(Read->Bottom, 320);
}

TEST(BoundsLine, ItemsBlanksAndBadValues) {
    TWindowBounds Current{1, 5, 5, 5, 5, 1, 2, 3, 4};
    EXPECT_FALSE(ParseBounds("0,1,2,3,4,5,6,7", Current)); // eight items
    EXPECT_FALSE(ParseBounds("", Current));
    std::optional<TWindowBounds> Spaced =
        ParseBounds("0, -1, -1, -1, -1, 10, 20, 410, 320", Current);
    ASSERT_TRUE(Spaced);
    EXPECT_EQ(Spaced->Left, 10);
    EXPECT_EQ(Spaced->Top, 20);
    EXPECT_EQ(Spaced->Right, 410);
    EXPECT_EQ(Spaced->Bottom, 320);
    std::optional<TWindowBounds> BadState = ParseBounds("x,-1,-1,-1,-1,10,20,410,320", Current);
    ASSERT_TRUE(BadState);
    EXPECT_EQ(BadState->State, 1); // kept
    EXPECT_EQ(BadState->Left, 10);
    EXPECT_TRUE(ParseBounds("\"0\" 1 2 3 4 5 6 7 8", Current));
}

} // namespace
} // namespace talvo
