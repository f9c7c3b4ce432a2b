#include "render/HeightColourTable.h"

#include <cmath>
#include <gtest/gtest.h>

#include "render/ColourValue.h"
#include "render/HeightRowColouring.h"

namespace talvo {
namespace {

constexpr int32_t White = 0xFFFFFF;

int32_t Grey(int32_t Level) {
    return PackColour(Level, Level, Level);
}

TViewSettings DefaultHeights() {
    TViewSettings Settings;
    Settings.Min = 0;
    Settings.Max = 5000;
    Settings.Pit = 100;
    Settings.ShadowKK = 64;
    return Settings;
}

TEST(ColourValue, SplitAndPackClamp) {
    TRgb C = SplitColour(0x7F3F1F);
    EXPECT_EQ(C.R, 0x1F);
    EXPECT_EQ(C.G, 0x3F);
    EXPECT_EQ(C.B, 0x7F);
    EXPECT_EQ(SplitColour(-1).B, 255); // bits above 23 are ignored
    EXPECT_EQ(PackColour(-5, 300, 128), 128 << 16 | 255 << 8);
}

TEST(HeightColourTable, RampStepsAreTruncatedOnce) {
    TViewSettings Settings;
    PaletteColour(Settings, 0) = 0;     // black
    PaletteColour(Settings, 1) = White; // up to white
    PaletteColour(Settings, 2) = 0;     // back down to black
    PaletteColour(Settings, 3) = 0x123456;
    PaletteColour(Settings, 4) = 0x123456;
    PaletteColour(Settings, 5) = 0x0A0B0C;
    THeightColourTable Table{};
    BuildHeightColourTable(Settings, Table);
    for (int I = 1; I <= 9; ++I) {
        EXPECT_EQ(Table[static_cast<size_t>(I)], Grey(25 * I)) << I;
    }
    EXPECT_EQ(Table[10], White);
    EXPECT_EQ(Table[19], Grey(30)); // 255 - 9 × 25
    EXPECT_EQ(Table[20], 0);
    EXPECT_EQ(Table[35], 0x123456);
    EXPECT_EQ(Table[50], 0x0A0B0C);
    // Negative steps truncate toward zero: 0x12 → 0x0C is -6 / 10 = 0 per step.
    EXPECT_EQ(SplitColour(Table[49]).R, 0x56 + (0x0C - 0x56) / 10 * 9);
    EXPECT_EQ(SplitColour(Table[49]).B, 0x12);

    TViewSettings Black;
    BuildHeightColourTable(Black, Table);
    for (int32_t Entry : Table) {
        EXPECT_EQ(Entry, 0);
    }
}

TEST(HeightColourTable, EvenAnchors) {
    TViewSettings Settings;
    PaletteColour(Settings, 0) = 0;
    PaletteColour(Settings, 5) = White;
    EvenAnchors(Settings);
    EXPECT_EQ(PaletteColour(Settings, 1), Grey(51));
    EXPECT_EQ(PaletteColour(Settings, 2), Grey(102));
    EXPECT_EQ(PaletteColour(Settings, 3), Grey(153));
    EXPECT_EQ(PaletteColour(Settings, 4), Grey(204));
    EXPECT_EQ(PaletteColour(Settings, 5), White);

    PaletteColour(Settings, 5) = 9; // red 9
    EvenAnchors(Settings);
    EXPECT_EQ(PaletteColour(Settings, 1), 1);
    EXPECT_EQ(PaletteColour(Settings, 4), 4);
    EXPECT_EQ(PaletteColour(Settings, 5), 9);
}

class HeightColour : public ::testing::Test {
  protected:
    HeightColour() {
        Settings.Sea = 0xAA0000;
        Settings.Out = 0x00BB00;
        for (size_t I = 0; I < Table.size(); ++I) {
            Table[I] = Grey(static_cast<int32_t>(I) * 5);
        }
    }
    int32_t Colour(int32_t Height, int32_t Rise = 0, int32_t Spacing = 500) const {
        return talvo::HeightColour(Height, Rise, Settings, Table, Spacing);
    }
    TViewSettings Settings = DefaultHeights();
    THeightColourTable Table{};
};

TEST_F(HeightColour, LimitsAndRampIndex) {
    EXPECT_EQ(Colour(-1), Settings.Sea);
    EXPECT_EQ(Colour(-1, 5000), Settings.Sea); // never shaded
    EXPECT_EQ(Colour(0), Table[0]);
    EXPECT_EQ(Colour(99), Table[0]);
    EXPECT_EQ(Colour(4999), Table[49]);
    EXPECT_EQ(Colour(5000), Table[50]);
    EXPECT_EQ(Colour(5001), Settings.Out);
    EXPECT_EQ(Colour(5001, -5000), Settings.Out);
}

TEST_F(HeightColour, ShadingRoundsTiesToEvenAndClamps) {
    EXPECT_EQ(Colour(1000, 10), Grey(50 + 1));   // 1 m up on 50 m: round(1.28)
    EXPECT_EQ(Colour(1000, 100), Grey(50 + 13)); // 10 m up: round(12.8)
    EXPECT_EQ(Colour(1000, -100), Grey(50 - 13));
    Settings.ShadowKK = 2;
    EXPECT_EQ(Colour(1000, 125), Grey(50));      // 0.5 → 0
    EXPECT_EQ(Colour(1000, 375), Grey(50 + 2));  // 1.5 → 2
    EXPECT_EQ(Colour(1000, -125), Grey(50));     // -0.5 → 0
    EXPECT_EQ(Colour(1000, -625), Grey(50 - 2)); // -2.5 → -2

    Table[10] = PackColour(250, 10, 128);
    Settings.ShadowKK = 50;
    EXPECT_EQ(Colour(1000, 100), PackColour(255, 20, 138));
    EXPECT_EQ(Colour(1000, -200), PackColour(230, 0, 108));

    // Extreme slopes and gains saturate instead of overflowing.
    Settings.ShadowKK = INT32_MAX;
    EXPECT_EQ(Colour(1000, INT32_MAX), White);
    EXPECT_EQ(Colour(1000, INT32_MIN), 0);
}

TEST_F(HeightColour, UndefinedCasesStayInsideTheTable) {
    Settings.Min = INT32_MIN;
    Settings.Max = INT32_MAX;
    EXPECT_EQ(Colour(-100000), Table[0]);
    EXPECT_EQ(Colour(1000000), Table[50]);
    EXPECT_EQ(Colour(INT32_MIN), Table[0]);
    EXPECT_EQ(Colour(INT32_MAX), Table[50]);

    Settings.Pit = 0; // acts as 1
    EXPECT_EQ(Colour(7), Table[7]);
    EXPECT_EQ(Colour(70), Table[50]);
    Settings.Pit = -20;
    EXPECT_EQ(Colour(7), Table[7]);

    EXPECT_EQ(Colour(7, 1000, 0), Table[7]); // no spacing, no shading
}

// The shading as written: divide, multiply, round half to even, clamp each channel.
int32_t ShadedByDefinition(int32_t Base, int32_t Rise, int32_t Spacing, int32_t Gain) {
    int32_t Offset =
        static_cast<int32_t>(std::nearbyint(static_cast<double>(Rise) / Spacing * Gain));
    TRgb C = SplitColour(Base);
    return PackColour(C.R + Offset, C.G + Offset, C.B + Offset);
}

TEST_F(HeightColour, FastShadingMatchesTheDefinitionEverywhere) {
    Table[10] = PackColour(200, 128, 3);
    for (int32_t Spacing : {500, 2500, 10000, 1, 3, 7, 640}) {
        for (int32_t Gain : {64, 2, 1, -5, 1000, 37, 0, 9, 25, -13}) {
            Settings.ShadowKK = Gain;
            THeightColouring Colouring(Settings, Table, Spacing);
            for (int32_t Rise = -4000; Rise <= 4000; ++Rise) {
                ASSERT_EQ(Colouring.Colour(1000, Rise),
                          ShadedByDefinition(Table[10], Rise, Spacing, Gain))
                    << "rise " << Rise << " spacing " << Spacing << " gain " << Gain;
            }
        }
    }
}

TEST_F(HeightColour, RowsAreColouredAsTheirCells) {
    // Cells walking up and down through every height near the limits, with steep jumps between.
    std::vector<int32_t> Cells;
    for (int32_t Value = -30000; Value <= 60000; Value += 7) {
        Cells.push_back(Value);
        Cells.push_back(Value % 3 == 0 ? -Value * 9 : Value + 1);
    }
    for (int32_t Extreme : {INT32_MAX / 2, INT32_MIN / 2, 655350, -655350, 0}) {
        Cells.push_back(Extreme);
    }
    struct TCase {
        int32_t Min, Max, Pit, Gain, Spacing;
    };
    for (const TCase& Case :
         {TCase{0, 5000, 100, 64, 500}, TCase{-200, 3000, 24, 64, 10000},
          TCase{0, 5000, 0, -13, 2500}, TCase{10, 20, 1, 1000, 1},
          TCase{INT32_MIN, INT32_MAX, 100, 64, 500}, TCase{0, 5000, 100, 0, 500},
          TCase{0, 5000, 100, 64, 0}, TCase{0, 5000, 7, INT32_MAX, 500}}) {
        Settings.Min = Case.Min;
        Settings.Max = Case.Max;
        Settings.Pit = Case.Pit;
        Settings.ShadowKK = Case.Gain;
        const THeightColouring Cell(Settings, Table, Case.Spacing);
        std::vector<int32_t> Row(Cells.size());
        THeightRowColouring(Settings, Table, Case.Spacing)
            .ColourRow(Cells.data(), static_cast<int32_t>(Cells.size()), Row.data());
        for (size_t J = 0; J < Cells.size(); ++J) {
            const int32_t Rise = J == 0 ? 0 : Cells[J] - Cells[J - 1];
            ASSERT_EQ(Row[J], Cell.Colour(Cells[J] / 10, Rise))
                << "cell " << J << " min " << Case.Min << " gain " << Case.Gain;
        }
    }
}

} // namespace
} // namespace talvo
