#include "model/ScreenFit.h"

#include <gtest/gtest.h>

namespace talvo {
namespace {

bool Same(const TScreenRect& A, const TScreenRect& B) {
    return A.Left == B.Left && A.Top == B.Top && A.Width == B.Width && A.Height == B.Height;
}

TEST(ScreenFit, AWindowGoesBesideTheMainOneWhereTheScreenHasRoom) {
    const std::vector<TScreenRect> Screen = {{0, 0, 1280, 1024}};
    const std::vector<TScreenRect> TwoScreens = {{0, 0, 1280, 1024}, {1280, 0, 1280, 1024}};
    struct TCase {
        TScreenRect Main;
        std::vector<TScreenRect> Screens;
        TScreenRect Placed;
    };
    const TCase Cases[] = {
        {{100, 50, 620, 480}, Screen, {720, 50, 530, 410}},       // right
        {{700, 50, 620, 480}, Screen, {170, 50, 530, 410}},       // no room right: left
        {{300, 50, 620, 480}, Screen, {300, 530, 530, 410}},      // neither: below
        {{300, 500, 620, 480}, Screen, {750, 500, 530, 410}},     // nowhere: right, on the screen
        {{1300, 50, 620, 480}, TwoScreens, {1920, 50, 530, 410}}, // on the main one's screen
        {{100, 50, 620, 480}, {}, {720, 50, 530, 410}},           // no screen known
    };
    for (const TCase& Case : Cases) {
        const TScreenRect Got = PlaceBeside(Case.Main, 530, 410, Case.Screens);
        EXPECT_TRUE(Same(Got, Case.Placed))
            << Case.Main.Left << "," << Case.Main.Top << " → " << Got.Left << "," << Got.Top;
    }
}

} // namespace
} // namespace talvo
