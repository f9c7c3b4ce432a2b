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

int32_t Multiplied(int32_t Colour, int Shift, uint8_t Shade) {
    const int32_t Channel = (Colour >> Shift) & 0xFF;
    return ((Channel * Shade + 127) / 255) << Shift;
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
    for (int32_t J = 0; J < Width; ++J) {
        const int32_t Height = Cells[J] / 10;
        const uint8_t* Shade = Relief + static_cast<ptrdiff_t>(J) * Bands;
        const int32_t Plain = Colours.Colour(Height, 0);
        const bool Shaded = Colours.InRamp(Height) && (Shade[0] | Shade[Bands - 1]) != 0;
        if (!Shaded) {
            Pixels[J] = Plain;
            continue;
        }
        const uint8_t* Blue = Shade + (Bands - 1);
        const uint8_t* Green = Shade + (Bands == 3 ? 1 : 0);
        Pixels[J] = Multiplied(Plain, 0, Shade[0]) | Multiplied(Plain, 8, *Green) |
                    Multiplied(Plain, 16, *Blue);
    }
}

} // namespace talvo
