#include "model/SelShapeRules.h"

namespace talvo {

namespace {

// The near edge Start (with its extent Size) moved by Delta, not past Minimum, refused whole
// when the extent would fall below MinSize.
void MoveNearEdge(int& Start, int& Size, int Delta, int Minimum, int MinSize) {
    if (Start + Delta < Minimum) {
        Delta = Minimum - Start;
    }
    if (Size - Delta < MinSize) {
        return;
    }
    Start += Delta;
    Size -= Delta;
}

void MoveFarEdge(int Start, int& Size, int Delta, int MinSize, int Limit, int& Last) {
    if (Size + Delta < MinSize) {
        return;
    }
    if (Start + Size + Delta > Limit) {
        Delta = Limit - (Start + Size);
    }
    Size += Delta;
    Last += Delta;
}

void Shift(int& Start, int Size, int Delta, int Minimum, int Limit) {
    if (Start + Delta < Minimum) {
        Delta = Minimum - Start;
    }
    if (Start + Size + Delta > Limit) {
        Delta = Limit - (Start + Size);
    }
    Start += Delta;
}

int BottomLimit(const TSelLimits& L) {
    return L.MaxBottom > L.MinTop ? L.MaxBottom : L.ParentHeight;
}
int RightLimit(const TSelLimits& L) {
    return L.MaxRight > L.MinLeft ? L.MaxRight : L.ParentWidth;
}

} // namespace

int HitTest(int X, int Y, int Width, int Height, int SizeSense) {
    enum { Near, Middle, Far };
    const int Column = X <= SizeSense ? Near : Width - X <= SizeSense ? Far : Middle;
    const int Row = Y <= SizeSense ? Near : Height - Y <= SizeSense ? Far : Middle;
    // Zones by [column][row]: left, middle, right × top, middle, bottom.
    constexpr int Zones[3][3] = {{6, 3, 8}, {1, 0, 2}, {5, 4, 7}};
    return Zones[Column][Row];
}

int FilterZone(int Zone, int SelOption) {
    if (!(SelOption & ResizeX)) {
        constexpr int WithoutX[9] = {0, 1, 2, 0, 0, 1, 1, 2, 2};
        Zone = WithoutX[Zone];
    }
    if (!(SelOption & ResizeY)) {
        constexpr int WithoutY[9] = {0, 0, 0, 3, 4, 4, 3, 4, 3};
        Zone = WithoutY[Zone];
    }
    return Zone;
}

void MoveTopEdge(TSelRect& Rect, int Dy, const TSelLimits& Limits) {
    MoveNearEdge(Rect.Top, Rect.Height, Dy, Limits.MinTop, Limits.MinHeight);
}

void MoveBottomEdge(TSelRect& Rect, int Dy, const TSelLimits& Limits, int& LastY) {
    MoveFarEdge(Rect.Top, Rect.Height, Dy, Limits.MinHeight, BottomLimit(Limits), LastY);
}

void MoveLeftEdge(TSelRect& Rect, int Dx, const TSelLimits& Limits) {
    MoveNearEdge(Rect.Left, Rect.Width, Dx, Limits.MinLeft, Limits.MinWidth);
}

void MoveRightEdge(TSelRect& Rect, int Dx, const TSelLimits& Limits, int& LastX) {
    MoveFarEdge(Rect.Left, Rect.Width, Dx, Limits.MinWidth, RightLimit(Limits), LastX);
}

void MoveWhole(TSelRect& Rect, int Dx, int Dy, const TSelLimits& Limits) {
    if (Limits.SelOption & MoveY) {
        Shift(Rect.Top, Rect.Height, Dy, Limits.MinTop, BottomLimit(Limits));
    }
    if (Limits.SelOption & MoveX) {
        Shift(Rect.Left, Rect.Width, Dx, Limits.MinLeft, RightLimit(Limits));
    }
}

void DragStep(int Zone, int Dx, int Dy, TSelRect& Rect, const TSelLimits& Limits, int& LastX,
              int& LastY) {
    if (Zone == 1 || Zone == 5 || Zone == 6) {
        MoveTopEdge(Rect, Dy, Limits);
    } else if (Zone == 2 || Zone == 7 || Zone == 8) {
        MoveBottomEdge(Rect, Dy, Limits, LastY);
    }
    if (Zone == 3 || Zone == 6 || Zone == 8) {
        MoveLeftEdge(Rect, Dx, Limits);
    } else if (Zone == 4 || Zone == 5 || Zone == 7) {
        MoveRightEdge(Rect, Dx, Limits, LastX);
    }
    if (Zone == 0) {
        MoveWhole(Rect, Dx, Dy, Limits);
    }
}

} // namespace talvo
