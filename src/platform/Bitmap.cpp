#include "platform/Bitmap.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/Errors.h"
#include "platform/Messages.h"

namespace talvo {

namespace {

constexpr int64_t MaxPictureBytes = INT32_MAX;

// The steps I (0 <= I < Steps) of a line whose major coordinate is Start + Sign × I and lies
// within 0..Limit - 1.
void VisibleSteps(int64_t Start, int64_t Sign, int64_t Steps, int64_t Limit, int64_t& First,
                  int64_t& Last) {
    // Start + Sign × I >= 0 and <= Limit - 1.
    int64_t Low = Sign > 0 ? -Start : Start - (Limit - 1);
    int64_t High = Sign > 0 ? Limit - 1 - Start : Start;
    First = std::max<int64_t>(Low, 0);
    Last = std::min<int64_t>(High, Steps - 1);
}

} // namespace

TBitmap::TBitmap(int32_t Width, int32_t Height, TStart Start) : FWidth(Width), FHeight(Height) {
    if (Width < 1 || Height < 1 || static_cast<int64_t>(Width) * Height * 4 > MaxPictureBytes) {
        throw ETalvoError(
            Text(TText::PictureTooLarge, {std::to_string(Width), std::to_string(Height)}));
    }
    const size_t Count = static_cast<size_t>(Width) * static_cast<size_t>(Height);
    Block = TZeroedBlock(Count * sizeof(int32_t));
    if (!Pixels()) {
        throw ETalvoError(
            Text(TText::PictureNoMemory, {std::to_string(Width), std::to_string(Height)}));
    }
    if (Start == TStart::White) {
        std::fill_n(Pixels(), Count, White);
    }
}

// Bresenham's line: along the major axis every step draws one pixel; the minor coordinate of
// step I is the start's plus round(I × minor / major), halves rounded away from the start.
// Only the steps whose major coordinate lies inside the picture are visited, so a line from
// far outside costs no more than the picture is wide or high.
void TBitmap::LineTo(int32_t X, int32_t Y) {
    const int64_t X0 = PenX, Y0 = PenY;
    const int64_t Dx = static_cast<int64_t>(X) - X0, Dy = static_cast<int64_t>(Y) - Y0;
    PenX = X;
    PenY = Y;
    const bool XMajor = std::abs(Dx) >= std::abs(Dy);
    const int64_t Major = XMajor ? std::abs(Dx) : std::abs(Dy);
    const int64_t Minor = XMajor ? std::abs(Dy) : std::abs(Dx);
    if (Major == 0) {
        return; // the end pixel is never drawn
    }
    const int64_t MajorStart = XMajor ? X0 : Y0, MinorStart = XMajor ? Y0 : X0;
    const int64_t MajorSign = (XMajor ? Dx : Dy) > 0 ? 1 : -1;
    const int64_t MinorSign = (XMajor ? Dy : Dx) >= 0 ? 1 : -1;

    int64_t First = 0, Last = 0;
    VisibleSteps(MajorStart, MajorSign, Major, XMajor ? FWidth : FHeight, First, Last);
    if (First > Last) {
        return;
    }
    // The minor offset of step I is floor((2 × I × Minor + Major) / (2 × Major)); the
    // remainder carries the error term from step to step. Coordinates are 32-bit, so the
    // products need 128 bits only at the first visible step.
    const __int128 Numerator = static_cast<__int128>(2 * First) * Minor + Major;
    int64_t MinorOffset = static_cast<int64_t>(Numerator / (2 * Major));
    int64_t Error = static_cast<int64_t>(Numerator % (2 * Major));
    for (int64_t I = First; I <= Last; ++I) {
        const int64_t MajorAt = MajorStart + MajorSign * I;
        const int64_t MinorAt = MinorStart + MinorSign * MinorOffset;
        const int64_t PixelX = XMajor ? MajorAt : MinorAt, PixelY = XMajor ? MinorAt : MajorAt;
        if (PixelX >= 0 && PixelX < FWidth && PixelY >= 0 && PixelY < FHeight) {
            Pixels()[Offset(static_cast<int32_t>(PixelX), static_cast<int32_t>(PixelY))] =
                PenColour;
        }
        Error += 2 * Minor;
        if (Error >= 2 * Major) {
            Error -= 2 * Major;
            ++MinorOffset;
        }
    }
}

void RgbRow(const TBitmap& Picture, int32_t Y, unsigned char* Out) {
    const int32_t* Pixels = Picture.Row(Y);
    for (int32_t X = 0; X < Picture.Width(); ++X) {
        *Out++ = static_cast<unsigned char>(Pixels[X]);
        *Out++ = static_cast<unsigned char>(Pixels[X] >> 8);
        *Out++ = static_cast<unsigned char>(Pixels[X] >> 16);
    }
}

} // namespace talvo
