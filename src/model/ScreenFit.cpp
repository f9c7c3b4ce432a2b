#include "model/ScreenFit.h"

#include <algorithm>

namespace talvo {

namespace {

int64_t Overlap(const TScreenRect& A, const TScreenRect& B) {
    const int64_t Width = std::min<int64_t>(int64_t{A.Left} + A.Width, int64_t{B.Left} + B.Width) -
                          std::max(A.Left, B.Left);
    const int64_t Height = std::min<int64_t>(int64_t{A.Top} + A.Height, int64_t{B.Top} + B.Height) -
                           std::max(A.Top, B.Top);
    return Width > 0 && Height > 0 ? Width * Height : 0;
}

// Squared distance between the centres, in doubled coordinates to stay whole.
int64_t CentreDistance(const TScreenRect& A, const TScreenRect& B) {
    const int64_t X = (2 * int64_t{A.Left} + A.Width) - (2 * int64_t{B.Left} + B.Width);
    const int64_t Y = (2 * int64_t{A.Top} + A.Height) - (2 * int64_t{B.Top} + B.Height);
    return X * X + Y * Y;
}

bool Inside(const TScreenRect& Window, const TScreenRect& Screen) {
    return Window.Left >= Screen.Left && Window.Top >= Screen.Top &&
           int64_t{Window.Left} + Window.Width <= int64_t{Screen.Left} + Screen.Width &&
           int64_t{Window.Top} + Window.Height <= int64_t{Screen.Top} + Screen.Height;
}

} // namespace

TScreenRect FitOnScreens(const TScreenRect& Window, const std::vector<TScreenRect>& Screens) {
    if (Screens.empty()) {
        return Window;
    }
    const TScreenRect* Best = &Screens.front();
    for (const TScreenRect& Screen : Screens) {
        const int64_t Covered = Overlap(Window, Screen), BestCovered = Overlap(Window, *Best);
        if (Covered > BestCovered ||
            (Covered == BestCovered && BestCovered == 0 &&
             CentreDistance(Window, Screen) < CentreDistance(Window, *Best))) {
            Best = &Screen;
        }
    }
    TScreenRect Fitted = Window;
    Fitted.Width = std::clamp(Window.Width, 1, std::max(Best->Width, 1));
    Fitted.Height = std::clamp(Window.Height, 1, std::max(Best->Height, 1));
    Fitted.Left = std::clamp(Window.Left, Best->Left, Best->Left + Best->Width - Fitted.Width);
    Fitted.Top = std::clamp(Window.Top, Best->Top, Best->Top + Best->Height - Fitted.Height);
    return Fitted;
}

TScreenRect PlaceBeside(const TScreenRect& Main, int32_t Width, int32_t Height,
                        const std::vector<TScreenRect>& Screens) {
    const TScreenRect Right{Main.Left + Main.Width, Main.Top, Width, Height};
    const TScreenRect OnScreen = FitOnScreens(Main, Screens);
    const TScreenRect* Screen = nullptr;
    for (const TScreenRect& Candidate : Screens) {
        if (Overlap(OnScreen, Candidate) > 0 &&
            (!Screen || Overlap(OnScreen, Candidate) > Overlap(OnScreen, *Screen))) {
            Screen = &Candidate;
        }
    }
    if (!Screen) {
        return FitOnScreens(Right, Screens);
    }
    for (const TScreenRect& Place :
         {Right, TScreenRect{Main.Left - Width, Main.Top, Width, Height},
          TScreenRect{Main.Left, Main.Top + Main.Height, Width, Height}}) {
        if (Inside(Place, *Screen)) {
            return Place;
        }
    }
    return FitOnScreens(Right, {*Screen});
}

} // namespace talvo
