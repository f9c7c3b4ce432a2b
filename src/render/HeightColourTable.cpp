#include "render/HeightColourTable.h"

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

void BuildHeightColourTable(const TViewSettings& Settings, THeightColourTable& Table) {
    for (int K = 0; K < 5; ++K) {
        int32_t Anchor = Settings.Anchors[K];
        Table[10 * K] = Anchor;
        TRgb From = SplitColour(Anchor);
        TRgb To = SplitColour(Settings.Anchors[K + 1]);
        for (int I = 1; I <= 9; ++I) {
            Table[10 * K + I] = StepColour(From, To, 10, I);
        }
    }
    Table[50] = Settings.Anchors[5];
}

THeightColouring::THeightColouring(const TViewSettings& Settings, const THeightColourTable& Table,
                                   int32_t CellSpacing)
    : Table(Table), Sea(Settings.Sea), Out(Settings.Out), Min(Settings.Min), Max(Settings.Max),
      Pit(std::max(Settings.Pit, 1)), ShadowKK(Settings.ShadowKK), CellSpacing(CellSpacing),
      ShadePerRise(CellSpacing == 0 ? 0.0 : static_cast<double>(ShadowKK) / CellSpacing) {}

void EvenAnchors(TViewSettings& Settings) {
    TRgb From = SplitColour(Settings.Anchors[0]);
    TRgb To = SplitColour(Settings.Anchors[5]);
    for (int I = 1; I <= 4; ++I) {
        Settings.Anchors[I] = StepColour(From, To, 5, I);
    }
}

} // namespace talvo
