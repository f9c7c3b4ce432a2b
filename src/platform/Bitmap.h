#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/ZeroedBlock.h"

namespace talvo {

// A picture of colour values (red in bits 0-7, green 8-15, blue 16-23) that starts white.
// Writes outside it do nothing. Its canvas draws one-pixel solid lines with a pen.
class TBitmap {
  public:
    static constexpr int32_t White = 0xFFFFFF;

    // What a new picture holds: white, or whatever its memory held (for a picture whose every
    // pixel is about to be written: filling it first would cost a pass over its memory).
    enum class TStart { White, Unfilled };

    // Raises ETalvoError when the picture would not fit in memory sensibly (over 2 GiB).
    TBitmap(int32_t Width, int32_t Height, TStart Start = TStart::White);

    int32_t Width() const { return FWidth; }
    int32_t Height() const { return FHeight; }

    int32_t Pixel(int32_t X, int32_t Y) const {
        return Inside(X, Y) ? Pixels()[Offset(X, Y)] : White;
    }
    void SetPixel(int32_t X, int32_t Y, int32_t Colour) {
        if (Inside(X, Y)) {
            Pixels()[Offset(X, Y)] = Colour;
        }
    }
    // Row Y from column 0, for writers and the renderer; Y must be inside the picture.
    int32_t* Row(int32_t Y) { return Pixels() + Offset(0, Y); }
    const int32_t* Row(int32_t Y) const { return Pixels() + Offset(0, Y); }

    // Canvas: the pen colour, the current position, and a line from there to (X, Y) that
    // leaves (X, Y) itself undrawn and becomes the new current position.
    void SetPenColour(int32_t Colour) { PenColour = Colour; }
    void MoveTo(int32_t X, int32_t Y) {
        PenX = X;
        PenY = Y;
    }
    void LineTo(int32_t X, int32_t Y);

  private:
    bool Inside(int32_t X, int32_t Y) const {
        return static_cast<uint32_t>(X) < static_cast<uint32_t>(FWidth) &&
               static_cast<uint32_t>(Y) < static_cast<uint32_t>(FHeight);
    }
    size_t Offset(int32_t X, int32_t Y) const {
        return static_cast<size_t>(Y) * static_cast<size_t>(FWidth) + static_cast<size_t>(X);
    }

    int32_t* Pixels() const { return static_cast<int32_t*>(Block.Data()); }

    int32_t FWidth;
    int32_t FHeight;
    TZeroedBlock Block;
    int32_t PenColour = 0;
    int32_t PenX = 0;
    int32_t PenY = 0;
};

// Row Y of Picture as red, green, blue bytes, three for each pixel, into Out.
void RgbRow(const TBitmap& Picture, int32_t Y, unsigned char* Out);

} // namespace talvo
