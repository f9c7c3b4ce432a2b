#include "import/E00Reader.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "model/Dms.h"
#include "platform/Errors.h"
#include "platform/Messages.h"
#include "render/OverlayDrawing.h"
#include "support/NumMapText.h"

namespace talvo {
namespace {

using test::WriteTempFile;

constexpr int32_t Ink = 0x0000FF;

std::vector<OverlayPoint> Read(const std::string& Text) {
    std::string Path = WriteTempFile("read.e00", Text);
    TTextFile File(Path);
    std::vector<OverlayPoint> List;
    ReadOverlayText(File, List);
    return List;
}

std::string ReadMessage(const std::string& Text) {
    try {
        Read(Text);
    } catch (const ETalvoError& Error) {
        return Error.what();
    }
    return "";
}

// A map with corners 35..36 N, 139..140 E and 100 × 200 cells.
void SetProjectionMap(TLoadedMap& Map, TMapKind Kind = TMapKind::Elevation) {
    Map.NumHeader.MapKind = Kind;
    Map.NumHeader.SouthLatitude = 35.0;
    Map.NumHeader.NorthLatitude = 36.0;
    Map.NumHeader.WestLongitude = 139.0;
    Map.NumHeader.EastLongitude = 140.0;
    Map.NumHeader.Columns = 100;
    Map.NumHeader.Rows = 200;
}

// The pixel a two-vertex arc from (Lon, Lat) eastward starts on.
std::pair<int32_t, int32_t> ProjectedPixel(const TLoadedMap& Map, double Lon, double Lat) {
    TBitmap Picture(101, 201);
    // Seq 0 moves, Seq 1 draws from there two columns east: the start is the first inked.
    DrawOverlay(Picture, {{0, Lat, Lon}, {1, Lat, Lon + 0.02}}, Ink, Map);
    for (int32_t Y = 0; Y < Picture.Height(); ++Y) {
        for (int32_t X = 0; X < Picture.Width(); ++X) {
            if (Picture.Pixel(X, Y) == Ink) {
                return {X, Y};
            }
        }
    }
    return {-1, -1};
}

TEST(SplitE00Values, BlanksCommasQuotesAndTouchingSigns) {
    using Values = std::vector<std::string>;
    EXPECT_EQ(SplitE00Values("  1\t2,3 ,, 4\x01"
                             "5"),
              (Values{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(SplitE00Values("-8.4777622E+01 3.6603597E+01-8.4544318E+01 3.6595865E+01"),
              (Values{"-8.4777622E+01", "3.6603597E+01", "-8.4544318E+01", "3.6595865E+01"}));
    EXPECT_EQ(SplitE00Values("1.5E-05+2-3"), (Values{"1.5E-05", "+2", "-3"}));
    EXPECT_EQ(SplitE00Values("\"a b,c\" x\"q\"\"q\" \"open"), (Values{"a b,c", "xq\"q", "open"}));
    EXPECT_TRUE(SplitE00Values(" , \t").empty());
}

TEST(OverlayText, ArcsSectionsAndSequenceNumbers) {
    auto List = Read("EXP  0 /X.E00\r\n"
                     "ARC  2\r\n"
                     "1 1 0 0 0 0 3\r\n"
                     "139.1 35.1 139.2 35.2\r\n"
                     "139.3 35.3\r\n"
                     "2 2 0 0 0 0 2\r\n"
                     "1.0E+02-2.5E+01-1.5E+02 4.0E+01\r\n"
                     "-1 0 0 0 0 0 0\r\n"
                     "LAB  2\r\n"
                     "5 5 garbage that is never read\r\n"
                     "ARC  3\n"
                     "3 3 0 0 0 0 0\n"
                     "4 4 0 0 0 0 1\n"
                     "7 8 9 10\n");
    ASSERT_EQ(List.size(), 7u);
    const int32_t Seqs[] = {0, 1, 2, 0, 1, 0, 1};
    for (size_t I = 0; I < List.size(); ++I) {
        EXPECT_EQ(List[I].Seq, Seqs[I]) << I;
    }
    EXPECT_DOUBLE_EQ(List[0].Lon, 139.1);
    EXPECT_DOUBLE_EQ(List[0].Lat, 35.1);
    EXPECT_DOUBLE_EQ(List[2].Lon, 139.3);
    EXPECT_DOUBLE_EQ(List[3].Lon, 100.0); // touching negative numbers read apart
    EXPECT_DOUBLE_EQ(List[3].Lat, -25.0);
    EXPECT_DOUBLE_EQ(List[4].Lon, -150.0);
    EXPECT_DOUBLE_EQ(List[6].Lat, 10.0); // every pair of the line is taken

    EXPECT_TRUE(Read("no arcs here\r\n").empty());
}

TEST(OverlayText, AttributeTablesOfAPolygonCoverageOpenNoArcSection) {
    // The tail of a real polygon coverage: its arc attribute table names items "ARC#" and
    // "HB170911#", which are no arcs.
    auto List = Read("EXP  0 /HB170911.E00\r\n"
                     "ARC  2\r\n"
                     "1 1 0 0 0 0 2\r\n"
                     "139.1 35.1 139.2 35.2\r\n"
                     "-1 0 0 0 0 0 0\r\n"
                     "IFO  2\r\n"
                     "HB170911.AAT XX 7 7 28 1\r\n"
                     "FNODE# 4-1 14-1 5-1 50-1 -1 -1-1 1-\r\n"
                     "ARC# 4-1 14-1 5-1 50-1 -1 -1-1 5-\r\n"
                     "HB170911# 4-1 14-1 5-1 50-1 -1 -1-1 6-\r\n"
                     "ARCS 4-1 14-1 5-1 50-1 -1 -1-1 7-\r\n"
                     "EOI\r\n"
                     "EOS\r\n");
    ASSERT_EQ(List.size(), 2u);
    EXPECT_DOUBLE_EQ(List[1].Lat, 35.2);
}

TEST(OverlayText, MalformedFilesEndWithAMessageNamingFileAndLine) {
    const std::string Path = WriteTempFile("read.e00", "");
    const struct {
        const char* Text;
        std::string Message;
        int Line;
    } Cases[] = {
        {"ARC\n1 1 0 0 0 0 2\n139.1 35.1 139.2\n", Text(TText::CoordinatesInPairs), 3},
        {"ARC\n1 1 0 0 0 0 2\n\n", Text(TText::CoordinatesInPairs), 3},
        {"ARC\n1 1 0 0 0 0 5\n139.1 35.1\n", Text(TText::ArcCutShort, {"5"}), 3},
        {"ARC\n1 1 0\n", Text(TText::ArcHeaderShort), 2},
        {"ARC\n  \n", Text(TText::ArcLineEmpty), 2},
        {"ARC\nx 1 0 0 0 0 1\n", "'x' は整数ではありません", 2},
        {"ARC\n1 1 0 0 0 0 1\n139.1 35.1x\n", "'35.1x' は浮動小数点数ではありません", 3},
        {"ARC\n1 1 0 0 0 0 2147483647\n1 2\n", Text(TText::ArcCutShort, {"2147483647"}), 3},
    };
    for (const auto& Case : Cases) {
        EXPECT_EQ(ReadMessage(Case.Text),
                  Case.Message + "\n" + Path + ":" + std::to_string(Case.Line));
    }
}

TEST(DrawOverlay, ProjectionTruncatesTowardZero) {
    TLoadedMap Map;
    SetProjectionMap(Map);
    EXPECT_EQ(ProjectedPixel(Map, 139.5, 35.25), std::make_pair(50, 150));
    EXPECT_EQ(ProjectedPixel(Map, 139.0, 36.0), std::make_pair(0, 0));
    EXPECT_EQ(ProjectedPixel(Map, 139.995, 35.0), std::make_pair(99, 200));
    EXPECT_EQ(ProjectedPixel(Map, 139.0 - 0.005, 35.5), std::make_pair(0, 100));

    // One and a half columns west is column -1: the line from there starts off the picture.
    TBitmap Picture(100, 200);
    DrawOverlay(Picture, {{0, 35.5, 139.0 - 0.015}, {1, 35.5, 139.02}}, Ink, Map);
    EXPECT_EQ(Picture.Pixel(0, 100), Ink);
    EXPECT_EQ(Picture.Pixel(1, 100), Ink);
    EXPECT_EQ(Picture.Pixel(2, 100), TBitmap::White); // the end pixel
}

TEST(DrawOverlay, ArcsAreNotJoinedAndDegenerateMapsDrawNothing) {
    TLoadedMap Map;
    SetProjectionMap(Map);
    TBitmap Picture(100, 200);
    DrawOverlay(Picture, {{0, 35.5, 139.1}, {1, 35.5, 139.2}, {0, 35.6, 139.5}, {1, 35.6, 139.6}},
                Ink, Map);
    EXPECT_EQ(Picture.Pixel(15, 100), Ink);
    EXPECT_EQ(Picture.Pixel(30, 90), TBitmap::White); // nothing between the two arcs
    EXPECT_EQ(Picture.Pixel(55, 80), Ink);

    Map.NumHeader.EastLongitude = Map.NumHeader.WestLongitude;
    TBitmap Blank(100, 200);
    DrawOverlay(Blank, {{0, 35.5, 139.1}, {1, 35.5, 139.2}}, Ink, Map);
    EXPECT_EQ(Blank.Pixel(15, 100), TBitmap::White);

    // Far-away vertices are clipped without trouble.
    SetProjectionMap(Map);
    DrawOverlay(Blank, {{0, 35.5, -1e300}, {1, 35.5, 1e300}}, Ink, Map);
    EXPECT_EQ(Blank.Pixel(42, 100), Ink);
}

TEST(DrawOverlay, NumericMapCornersAreDegreesMinutesSecondsToTheDigit) {
    // Exactly: from the digits, not from the binary fraction that holds them.
    for (const auto& [Dms, Degrees] : std::initializer_list<std::pair<double, double>>{
             {36.3, 36.5},
             {139.15, 139.25},
             {139.3, 139.5},
             {-84.1930, -84.325},
             {0.0, 0.0},
             {35.0045, 35.0 + 45 / 3600.0},
             {36.302312, (36 * 3600 + 30 * 60 + 23.12) / 3600}}) {
        EXPECT_EQ(DmsToDegrees(Dms), Degrees) << Dms;
    }
    EXPECT_NEAR(DmsToDegrees(36.3023), 36 + 30 / 60.0 + 23 / 3600.0, 1e-12);

    // Corners 35°00' to 36°00' N written d.mmss, 139°15' to 139°30' E: arcs on the exact cell
    // boundaries land in their columns, and one on the east edge in column Columns, off the
    // picture.
    TLoadedMap Map;
    SetProjectionMap(Map, TMapKind::Numeric);
    Map.NumHeader.WestLongitude = 139.15;
    Map.NumHeader.EastLongitude = 139.30;
    EXPECT_EQ(ProjectedPixel(Map, 139.25, 35.5), std::make_pair(0, 100));
    EXPECT_EQ(ProjectedPixel(Map, 139.25 + 0.25 * 37 / 100, 35.5), std::make_pair(37, 100));
    TBitmap Picture(100, 200);
    DrawOverlay(Picture, {{0, 35.5, 139.5}, {1, 35.5, 139.5 + 0.25}}, Ink, Map);
    for (int32_t X = 0; X < 100; ++X) {
        EXPECT_EQ(Picture.Pixel(X, 100), TBitmap::White) << X;
    }
}

class Overlays : public ::testing::Test {
  protected:
    Overlays() {
        Map.NumHeader.MapKind = TMapKind::Elevation;
        Map.NumHeader.MeshCode = "123456";
        Map.NumHeader.DataFileName = WriteTempFile("EL123456", "");
    }
    std::string Folder() const {
        return std::filesystem::path(Map.NumHeader.DataFileName).parent_path().string();
    }
    TLoadedMap Map;
    TOverlaySet Read;
    TLayerFlags Ticked{};
};

TEST_F(Overlays, OnlyTickedLayersAreReadOncePerMap) {
    WriteTempFile("AD123456.E00", "ARC\n1 1 0 0 0 0 1\n139 35\n-1 0 0 0 0 0 0\n");
    WriteTempFile("rv123456.e00", "ARC\n1 1 0 0 0 0 1\n139 35\n");
    EXPECT_EQ(OverlayFileName(Map, 0), Folder() + "/ad123456.e00");

    LoadOverlays(Read, Map, Ticked); // nothing ticked
    EXPECT_FALSE(Read.Loaded[0]);

    Ticked = {true, false, true, false, false, false};
    LoadOverlays(Read, Map, Ticked);
    EXPECT_TRUE(Read.Loaded[0]); // found in another letter case
    EXPECT_EQ(Read.Lists[0].size(), 1u);
    EXPECT_FALSE(Read.Loaded[1]); // not ticked
    EXPECT_FALSE(Read.Loaded[2]); // no file: looked for again next time

    std::filesystem::remove(Folder() + "/AD123456.E00");
    LoadOverlays(Read, Map, Ticked);
    EXPECT_EQ(Read.Lists[0].size(), 1u); // kept, not read again

    Ticked[1] = true;
    LoadOverlays(Read, Map, Ticked);
    EXPECT_TRUE(Read.Loaded[1]);
}

TEST_F(Overlays, AFailedLayerKeepsNoPoints) {
    WriteTempFile("lk123456.e00", "ARC\n1 1 0 0 0 0 1\n139 35\n2 2 0 0 0 0 1\n139 x\n");
    Ticked[2] = true;
    try {
        LoadOverlays(Read, Map, Ticked);
        ADD_FAILURE() << "a bad layer loaded";
    } catch (const EConvertError& Error) {
        EXPECT_EQ(std::string(Error.what()),
                  "'x' は浮動小数点数ではありません\n" + Folder() + "/lk123456.e00:5");
    }
    EXPECT_FALSE(Read.Loaded[2]);
    EXPECT_TRUE(Read.Lists[2].empty());
}

TEST_F(Overlays, NumericMapsLookBesideTheMapFile) {
    Map.NumHeader.MapKind = TMapKind::Numeric;
    Map.NumHeader.DataFileName.clear();
    Map.NumHeader.MapFileName = "/maps/tokyo/533945.Mem";
    Map.NumHeader.MeshCode = "533945";
    EXPECT_EQ(OverlayFileName(Map, 5), "/maps/tokyo/rw533945.e00");
}

} // namespace
} // namespace talvo
