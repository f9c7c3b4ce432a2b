#include "render/HeightColourTable.h"

#include <cmath>

#include "render/ColourValue.h"

namespace talvo {

namespace {

// Colour Steps of one truncated step each from From toward To: with Divisions 10 a channel
// going from 0 to 255 takes steps of 25.
int32_t StepColour(TRgb From, TRgb To, int32_t Divisions, int32_t Steps) {
    int32_t R = From.R + (To.R - From.R) / Divisions * Steps;
    int32_t G = From.G + (To.G - From.G) / Divisions * Steps;
    int32_t B = From.B + (To.B - From.B) / Divisions * Steps;
    return B << 16 | G << 8 | R;
}

} // namespace

void BuildHeightColourTable(const TIni& Settings, THeightColourTable& Table) {
    for (int K = 0; K < 5; ++K) {
        int32_t Anchor = Settings.Entry[IniAnchor0 + K];
        Table[10 * K] = Anchor;
        TRgb From = SplitColour(Anchor);
        TRgb To = SplitColour(Settings.Entry[IniAnchor0 + K + 1]);
        for (int I = 1; I <= 9; ++I) {
            Table[10 * K + I] = StepColour(From, To, 10, I);
        }
    }
    Table[50] = Settings.Entry[IniAnchor0 + 5];
}

void EvenAnchors(TIni& Settings) {
    TRgb From = SplitColour(Settings.Entry[IniAnchor0]);
    TRgb To = SplitColour(Settings.Entry[IniAnchor0 + 5]);
    for (int I = 1; I <= 4; ++I) {
        Settings.Entry[IniAnchor0 + I] = StepColour(From, To, 5, I);
    }
}

int32_t HeightColour(int32_t Height, int32_t Rise, const TIni& Settings,
                     const THeightColourTable& Table, int32_t CellSpacing) {
    if (Height < Settings.Entry[IniMin]) {
        return Settings.Sea;
    }
    if (Height > Settings.Entry[IniMax]) {
        return Settings.Out;
    }
    int32_t Pit = std::max(Settings.Entry[IniPit], 1);
    int32_t Index = std::clamp(Height / Pit, 0, 50);
    TRgb Base = SplitColour(Table[static_cast<size_t>(Index)]);

    int32_t Offset = 0;
    if (CellSpacing != 0 && Rise != 0) {
        double Shade = static_cast<double>(Rise) / CellSpacing * Settings.Entry[IniShadowKK];
        // Beyond ±256 every channel clamps the same way; limiting first keeps the conversion
        // to an integer defined. nearbyint rounds ties to even.
        Offset = static_cast<int32_t>(std::nearbyint(std::clamp(Shade, -256.0, 256.0)));
    }
    return PackColour(Base.R + Offset, Base.G + Offset, Base.B + Offset);
}

} // namespace talvo
