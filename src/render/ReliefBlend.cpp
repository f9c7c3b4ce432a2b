#include "render/ReliefBlend.h"

#include <utility>

#include "render/MapRelief.h"

namespace talvo {

namespace {

TReliefProduct ProductOf(TShadeMode Mode) {
    switch (Mode) {
    case TShadeMode::Multidirectional:
        return TReliefProduct::Multidirectional;
    case TShadeMode::Combined:
        return TReliefProduct::Combined;
    case TShadeMode::RedRelief:
        return TReliefProduct::RedRelief;
    case TShadeMode::Ramp:
    case TShadeMode::Hillshade:
        break;
    }
    return TReliefProduct::Hillshade;
}

// Channel Shift of Colour times Shade over 255, rounded to nearest; the division is exact for
// every product of two bytes, and is written so that the compiler can blend several cells at once.
int32_t Multiplied(int32_t Colour, int Shift, int32_t Shade) {
    const int32_t Scaled = ((Colour >> Shift) & 0xFF) * Shade + 127;
    return ((Scaled + (Scaled >> 8) + 1) >> 8) << Shift;
}

// The plain colours are looked up first, then blended in a loop without lookups, which the
// compiler runs several cells at a time.
template <int32_t Bands>
void BlendRow(const THeightRowColouring& Colours, const int32_t* Cells, int32_t Width,
              const uint8_t* Relief, int32_t* Pixels) {
    for (int32_t J = 0; J < Width; ++J) {
        Pixels[J] = Colours.PlainColour(Cells[J] / 10);
    }
    for (int32_t J = 0; J < Width; ++J) {
        const uint8_t* Shade = Relief + static_cast<ptrdiff_t>(J) * Bands;
        const int32_t Red = Shade[0];
        const int32_t Green = Shade[Bands == 3 ? 1 : 0];
        const int32_t Blue = Shade[Bands - 1];
        const int32_t Plain = Pixels[J];
        const int32_t Blended =
            Multiplied(Plain, 0, Red) | Multiplied(Plain, 8, Green) | Multiplied(Plain, 16, Blue);
        Pixels[J] = Colours.InRamp(Cells[J] / 10) && (Red | Blue) != 0 ? Blended : Plain;
    }
}

} // namespace

std::optional<TPictureRelief> ShadingRelief(const TLoadedMap& Map, TShadeMode Mode) {
    if (Mode == TShadeMode::Ramp) {
        return std::nullopt;
    }
    std::optional<TReliefInput> Input;
    try {
        Input = ReliefInputOf(Map, std::nullopt);
    } catch (const ETalvoError&) {
        return std::nullopt;
    }
    TReliefOptions Options;
    Options.Product = ProductOf(Mode);
    Options.ComputeEdges = true;
    return TPictureRelief(std::move(*Input), Options);
}

void BlendReliefRow(const THeightRowColouring& Colours, const int32_t* Cells, int32_t Width,
                    const uint8_t* Relief, int32_t Bands, int32_t* Pixels) {
    if (Bands == 3) {
        BlendRow<3>(Colours, Cells, Width, Relief, Pixels);
    } else {
        BlendRow<1>(Colours, Cells, Width, Relief, Pixels);
    }
}

} // namespace talvo
