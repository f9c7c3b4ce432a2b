#include "platform/Rounding.h"

#include <cmath>
#include <gtest/gtest.h>

namespace talvo {
namespace {

TEST(RoundHalfEven, TiesGoToEvenAndAllElseToNearest) {
    EXPECT_EQ(RoundHalfEven(0.5), 0.0);
    EXPECT_EQ(RoundHalfEven(1.5), 2.0);
    EXPECT_EQ(RoundHalfEven(-0.5), 0.0);
    EXPECT_EQ(RoundHalfEven(-2.5), -2.0);
    EXPECT_EQ(RoundHalfEven(12.8), 13.0);
    EXPECT_EQ(RoundHalfEven(-1.28), -1.0);
    for (double X = -300.0; X <= 300.0; X += 0.03125) {
        EXPECT_EQ(RoundHalfEven(X), std::nearbyint(X)) << X;
    }
    EXPECT_EQ(RoundHalfEven(1e15 + 0.5), std::nearbyint(1e15 + 0.5));
}

} // namespace
} // namespace talvo
