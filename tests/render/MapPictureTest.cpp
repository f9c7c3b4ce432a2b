#include "render/MapPicture.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>

#include "import/E00Reader.h"
#include "render/ClassColours.h"
#include "support/NumMapText.h"

namespace talvo {
namespace {

// Counts the progress it is told of, and cancels once Limit rows are drawn when asked to.
class TCountingProgress : public TProgress {
  public:
    int64_t CancelAfter = -1;
    int64_t Changes = 0;

  protected:
    void Changed() override {
        ++Changes;
        if (CancelAfter >= 0 && Done() >= CancelAfter) {
            Cancel();
        }
    }
};

class MapPicture : public ::testing::Test {
  protected:
    MapPicture() {
        InitLoadedMap(Map);
        Settings.Sea = 0x0000AA;
        Settings.Out = 0x00BB00;
        for (int I = 0; I < 6; ++I) {
            PaletteColour(Settings, static_cast<size_t>(I)) = 0x101010 * (I + 1);
        }
        for (int I = 6; I < 36; ++I) {
            PaletteColour(Settings, static_cast<size_t>(I)) = 0x010000 * I;
        }
        Settings.Min = 0;
        Settings.Max = 5000;
        Settings.Pit = 100;
        Settings.ShadowKK = 64;
        BuildHeightColourTable(Settings, Table);
    }

    // A map of Rows (tenths of a metre or classes), row i drawn on line Lines[i].
    void SetMap(TMapKind Kind, const std::vector<std::vector<int32_t>>& Rows,
                std::vector<int32_t> Lines = {}) {
        TNum_HeaderRec& H = Map.NumHeader;
        H.MapKind = Kind;
        H.Rows = static_cast<int32_t>(Rows.size());
        H.Columns = static_cast<int32_t>(Rows[0].size());
        H.CellSpacing = 500;
        Map.NumData.RowLineGrid.ReDim(1, H.Rows, false);
        Map.NumData.HeightGrid.ReDim(H.Rows, H.Columns, false);
        for (int32_t R = 0; R < H.Rows; ++R) {
            Map.NumData.RowLineGrid.SetVal(0, R,
                                           Lines.empty() ? R + 1 : Lines[static_cast<size_t>(R)]);
            for (int32_t C = 0; C < H.Columns; ++C) {
                Map.NumData.HeightGrid.SetVal(R, C,
                                              Rows[static_cast<size_t>(R)][static_cast<size_t>(C)]);
            }
        }
        Map.RowsRead = H.Rows;
    }

    const TBitmap& Render() {
        Progress = std::make_unique<TCountingProgress>();
        LoadOverlays(Overlays, Map, Layers);
        Picture = DrawMapPicture(Map, Overlays, Settings, Table, Layers, *Progress);
        return *Picture;
    }
    int32_t Ramp(int32_t Metres) const { return Table[static_cast<size_t>(Metres / 100)]; }

    TLoadedMap Map;
    TOverlaySet Overlays;
    TViewSettings Settings;
    THeightColourTable Table{};
    TLayerFlags Layers{};
    std::unique_ptr<TCountingProgress> Progress;
    std::optional<TBitmap> Picture;
};

TEST_F(MapPicture, ElevationRowsAreShadedFromTheWest) {
    SetMap(TMapKind::Elevation, {{15000, 15000, 15000}, {-20, 1980, 1980}});
    const TBitmap& Picture = Render();
    EXPECT_EQ(Picture.Width(), 3);
    EXPECT_EQ(Picture.Height(), 2);
    for (int32_t X = 0; X < 3; ++X) {
        EXPECT_EQ(Picture.Pixel(X, 0), Ramp(1500)); // flat: the plain ramp colour
    }
    EXPECT_EQ(Picture.Pixel(0, 1), Settings.Sea);
    // 200 m up from the sea cell's raw -2 m: round(2000 / 500 × 64) = 256, all white.
    EXPECT_EQ(Picture.Pixel(1, 1), 0xFFFFFF);
    EXPECT_EQ(Picture.Pixel(2, 1), Ramp(198));
    EXPECT_EQ(Progress->Total(), 2);
    EXPECT_EQ(Progress->Done(), 2);
}

// A plane falling 1 m per metre eastward on 10 m cells: lit from the north-west at 45°, its
// hillshade is 1 + 254 (sin 45° - cos² 45°) / √2 = 38.2, its multidirectional shade
// 1 + 127 (sin 45° - cos² 45°) / √2 = 19.6; each channel of the plain ramp colour is multiplied by
// the shade over 255, edges included.
TEST_F(MapPicture, ElevationsMultipliedByTheirRelief) {
    const struct {
        TShadeMode Mode;
        int32_t Shade;
    } Cases[] = {{TShadeMode::Hillshade, 38}, {TShadeMode::Multidirectional, 20}};
    SetMap(TMapKind::Elevation, std::vector<std::vector<int32_t>>(3, {10400, 10300, 10200, 10100}));
    Map.NumHeader.Projected = true;
    Map.Georeference.Transform = {0.0, 10.0, 0.0, 30.0, 0.0, -10.0};
    for (const auto& Case : Cases) {
        Settings.Shade = Case.Mode;
        const TBitmap& Picture = Render();
        for (int32_t X = 0; X < 4; ++X) {
            const int32_t Plain = Ramp(1040 - 10 * X);
            int32_t Shaded = 0;
            for (int Shift = 0; Shift < 24; Shift += 8) {
                Shaded |= ((((Plain >> Shift) & 0xFF) * Case.Shade + 127) / 255) << Shift;
            }
            EXPECT_EQ(Picture.Pixel(X, 1), Shaded) << X << ' ' << Case.Shade;
        }
    }
}

TEST_F(MapPicture, RowsArePlacedByTheirLineNumbers) {
    SetMap(TMapKind::Numeric, {{1000}, {2000}, {3000}, {4000}}, {3, 1, 2, 9});
    const TBitmap& Picture = Render();
    EXPECT_EQ(Picture.Pixel(0, 2), Ramp(100));
    EXPECT_EQ(Picture.Pixel(0, 0), Ramp(200));
    EXPECT_EQ(Picture.Pixel(0, 1), Ramp(300));
    EXPECT_EQ(Picture.Pixel(0, 3), TBitmap::White); // row 3 is numbered outside the picture
}

TEST_F(MapPicture, ALineNamedTwiceShowsTheLastRowAcrossBands) {
    // Enough rows for several parallel bands: the first and the last row both name line 2.
    std::vector<std::vector<int32_t>> Rows(6000, std::vector<int32_t>(100, 1000));
    Rows.back().assign(100, 4000);
    std::vector<int32_t> Lines(Rows.size());
    for (size_t R = 0; R < Lines.size(); ++R) {
        Lines[R] = static_cast<int32_t>(R) + 1;
    }
    Lines.front() = Lines.back() = 2;
    SetMap(TMapKind::Numeric, Rows, Lines);
    const TBitmap& Picture = Render();
    EXPECT_EQ(Picture.Pixel(50, 1), Ramp(400));
    EXPECT_EQ(Picture.Pixel(50, 0), TBitmap::White);
    EXPECT_EQ(Picture.Pixel(99, 5998), Ramp(100));
    EXPECT_EQ(Progress->Done(), 6000);
}

TEST_F(MapPicture, ClassRows) {
    SetMap(TMapKind::LandUse, {{30, 90, 255}});
    const TBitmap& LandUse = Render();
    EXPECT_EQ(LandUse.Pixel(0, 0), PaletteColour(Settings, 8));
    EXPECT_EQ(LandUse.Pixel(1, 0), PaletteColour(Settings, 14));
    EXPECT_EQ(LandUse.Pixel(2, 0), Settings.Out);
    SetMap(TMapKind::Vegetation, {{150, 10, 0}});
    const TBitmap& Vegetation = Render();
    EXPECT_EQ(Vegetation.Pixel(0, 0), PaletteColour(Settings, 29));
    EXPECT_EQ(Vegetation.Pixel(1, 0), PaletteColour(Settings, 15));
    EXPECT_EQ(Vegetation.Pixel(2, 0), PaletteColour(Settings, 14));
}

TEST_F(MapPicture, LayersAreDrawnWhenTickedEvenOverAnEmptyMap) {
    TNum_HeaderRec& H = Map.NumHeader;
    SetMap(TMapKind::Elevation, {{0, 0, 0, 0}, {0, 0, 0, 0}});
    Map.RowsRead = 0; // nothing read: the picture stays white
    H.MeshCode = "000001";
    H.DataFileName = test::WriteTempFile("EL000001", "");
    test::WriteTempFile("rw000001.e00", "ARC\n1 1 0 0 0 0 2\n0 1.5 4 1.5\n");
    H.SouthLatitude = 0;
    H.NorthLatitude = 2;
    H.WestLongitude = 0;
    H.EastLongitude = 4;
    Layers[5] = true;
    const TBitmap& Picture = Render();
    EXPECT_EQ(Picture.Pixel(0, 0), TBitmap::White);
    EXPECT_EQ(Picture.Pixel(1, 1), PaletteColour(Settings, 35)); // y = 2 - trunc(1.5 / 2 × 2) = 1
    Layers[5] = false;
    EXPECT_EQ(Render().Pixel(1, 1), TBitmap::White); // unticked: gone on redraw
}

TEST_F(MapPicture, ACancelledDrawingReturnsNothingSoon) {
    SetMap(TMapKind::Elevation,
           std::vector<std::vector<int32_t>>(4000, std::vector<int32_t>(400, 10)));
    TCountingProgress Cancelled;
    Cancelled.Cancel();
    EXPECT_FALSE(DrawMapPicture(Map, Overlays, Settings, Table, Layers, Cancelled));
    EXPECT_EQ(Cancelled.Done(), 0);

    TCountingProgress Midway;
    Midway.CancelAfter = 1;
    EXPECT_FALSE(DrawMapPicture(Map, Overlays, Settings, Table, Layers, Midway));
    EXPECT_LT(Midway.Done(), 4000); // the bands after the cancel are skipped
}

} // namespace
} // namespace talvo
