#pragma once

#include <cstdint>

namespace talvo {

// The selection rectangle's geometry, apart from its widget: hit zones and drag steps in
// pixels of the parent's client area.

// What the user may do (bits of SelOption).
enum TSelOptSet : int { ResizeX = 1, ResizeY = 2, MoveX = 4, MoveY = 8 };

// Zones: 0 inside, 1 top, 2 bottom, 3 left, 4 right, 5 top-right, 6 top-left,
// 7 bottom-right, 8 bottom-left.
int HitTest(int X, int Y, int Width, int Height, int SizeSense);
// The zone once the resize options SelOption lacks are taken away.
int FilterZone(int Zone, int SelOption);

struct TSelRect {
    int Left;
    int Top;
    int Width;
    int Height;
};

struct TSelLimits {
    int MinWidth;
    int MinHeight;
    int MinTop;
    int MinLeft;
    int MaxBottom; // in force while above MinTop; the parent's height otherwise
    int MaxRight;  // in force while above MinLeft; the parent's width otherwise
    int ParentWidth;
    int ParentHeight;
    int SelOption;
};

void MoveTopEdge(TSelRect& Rect, int Dy, const TSelLimits& Limits);
void MoveBottomEdge(TSelRect& Rect, int Dy, const TSelLimits& Limits, int& LastY);
void MoveLeftEdge(TSelRect& Rect, int Dx, const TSelLimits& Limits);
void MoveRightEdge(TSelRect& Rect, int Dx, const TSelLimits& Limits, int& LastX);
void MoveWhole(TSelRect& Rect, int Dx, int Dy, const TSelLimits& Limits);

// One drag step of the pointer by (Dx, Dy) with the zone found before the press.
void DragStep(int Zone, int Dx, int Dy, TSelRect& Rect, const TSelLimits& Limits, int& LastX,
              int& LastY);

} // namespace talvo
