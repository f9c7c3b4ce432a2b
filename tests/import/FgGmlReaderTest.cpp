#include "import/FgGmlReader.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

#include "import/OpenMap.h"
#include "platform/Errors.h"
#include "support/FgGmlText.h"
#include "support/NumMapText.h"
#include "support/ScopedEnv.h"

namespace talvo {
namespace {

using test::FgGmlPoints;
using test::FormatFgGml;
using test::TFgGmlText;

constexpr int32_t None = NoDataHeight;

std::string Written(const TFgGmlText& Parts) {
    return test::WriteTempFile("tile.xml", FormatFgGml(Parts));
}

std::vector<int32_t> Cells(const TLoadedMap& Map) {
    std::vector<int32_t> Values;
    for (int32_t Row = 0; Row < Map.RowsRead; ++Row) {
        const int32_t* Cells = HeightRow(Map, Row);
        Values.insert(Values.end(), Cells, Cells + Map.NumHeader.Columns);
    }
    return Values;
}

TFgGmlText WithPoints(const std::vector<std::string>& Values) {
    TFgGmlText Parts;
    Parts.Tuples = FgGmlPoints(Values);
    return Parts;
}

TEST(FgGmlReader, PointsFillTheGridFromStartPointAndTheRestHasNoData) {
    struct TCase {
        const char* Name;
        TFgGmlText Parts;
        std::vector<int32_t> Expected;
    };
    TFgGmlText Start = WithPoints({"1", "2", "3", "4", "5"});
    Start.StartPoint = "1 0";
    TFgGmlText StartOnSecondRow = WithPoints({"1", "2"});
    StartOnSecondRow.StartPoint = "1 1";
    TFgGmlText Sea = WithPoints({});
    Sea.Tuples = "\n海水面,0.\n内水面,-9999.\nデータなし,12.\n地表面,0.\n表層面,3.2\n"
                 "その他,-1.5\n";
    TFgGmlText NoStartPoint = WithPoints({"1", "2", "3", "4", "5", "6"});
    NoStartPoint.StartPoint.clear();
    NoStartPoint.Order.clear();
    TFgGmlText OneLine = WithPoints({});
    OneLine.Tuples = "地表面,1 地表面,2\t地表面,3\r\n地表面,4";
    const TCase Cases[] = {
        {"startPoint", Start, {None, 10, 20, 30, 40, 50}},
        {"startPoint on the second row", StartOnSecondRow, {None, None, None, None, 10, 20}},
        {"short list", WithPoints({"1", "2"}), {10, 20, None, None, None, None}},
        {"empty list", WithPoints({}), {None, None, None, None, None, None}},
        {"sea, inland water and no data by type",
         Sea,
         {MarkedSeaHeight, MarkedSeaHeight, None, 0, 32, -15}},
        {"rounding half to even from the digits",
         WithPoints({"12.35", "12.25", "12.251", "-0.15", "1.05", "+7."}),
         {124, 122, 123, -2, 10, 70}},
        {"no startPoint or sequenceRule", NoStartPoint, {10, 20, 30, 40, 50, 60}},
        {"points apart by any white space", OneLine, {10, 20, 30, 40, None, None}},
    };
    for (const TCase& Case : Cases) {
        const TOpenedMap Opened = OpenMap(Written(Case.Parts));
        EXPECT_EQ(Cells(Opened.Map), Case.Expected) << Case.Name;
        EXPECT_EQ(Opened.Map.RowsRead, 2) << Case.Name;
    }
    // Digits beyond the tenths are kept as written, beside the tenths.
    const TOpenedMap Fine = OpenMap(Written(WithPoints({"12.35", "1.5", "-0.05", "3"})));
    const TDimGrid<float>& Metres = Fine.Map.NumData.SourceHeights;
    ASSERT_EQ(Metres.Rows(), 2);
    EXPECT_EQ(std::vector<float>(Metres.RowData(0), Metres.RowData(0) + 3),
              (std::vector<float>{12.35f, 1.5f, -0.05f}));
    EXPECT_EQ(OpenMap(Written(WithPoints({"12.3", "1"}))).Map.NumData.SourceHeights.Rows(), 0);
}

TEST(FgGmlReader, TheHeaderComesFromTheStructure) {
    const std::pair<const char*, int32_t> Spacings[] = {{"1mメッシュ（標高）", 10},
                                                        {"5mメッシュ（標高）", 50},
                                                        {"10mメッシュ（標高）", 100},
                                                        {"その他", 0}};
    for (const auto& [Type, CellSpacing] : Spacings) {
        TFgGmlText Parts = WithPoints({"1"});
        Parts.Type = Type;
        EXPECT_EQ(OpenMap(Written(Parts)).Map.NumHeader.CellSpacing, CellSpacing) << Type;
    }
    const TLoadedMap Map = OpenMap(Written(WithPoints({"1"}))).Map;
    const TNum_HeaderRec& H = Map.NumHeader;
    EXPECT_STREQ(KindTraits(H.MapKind).Code, "FG");
    EXPECT_TRUE(KindTraits(H.MapKind).ShownIn3D);
    EXPECT_EQ(H.MeshCode, "533945"); // as beside Global Map rasters
    EXPECT_EQ(std::make_pair(H.Columns, H.Rows), std::make_pair(3, 2));
    EXPECT_EQ(std::vector<double>({H.SouthLatitude, H.WestLongitude, H.NorthLatitude, H.EastLongitude}),
              std::vector<double>({36.5, -84.5, 36.5083333333, -84.4875}));
    EXPECT_DOUBLE_EQ(H.CellWidthLon, (-84.4875 - -84.5) / 3);
}

// Every refusal names the file, and the line where one is known.
TEST(FgGmlReader, BadDocumentsAreRefusedNamingFileAndLine) {
    const test::TScopedEnv English("LC_ALL", "en_US.UTF-8");
    struct TCase {
        const char* Says;
        std::string Text;
        const char* AtLineOf; // the text on the line the message names; none: no line
    };
    auto With = [](auto Change) {
        TFgGmlText Parts = WithPoints({"1", "2"});
        Change(Parts);
        return FormatFgGml(Parts);
    };
    auto Points = [](const std::vector<std::string>& Values) {
        return FormatFgGml(WithPoints(Values));
    };
    const TCase Cases[] = {
        {"Not a well-formed XML document: mismatched tag",
         With([](TFgGmlText& P) { P.Mesh = "<b>53394501"; }), "</mesh>"},
        {"holds more points than the grid's 3 × 2", Points({"1", "2", "3", "4", "5", "6", "7"}),
         "地表面,7"},
        {"'地表面,abc' is not a point", Points({"1", "abc"}), "地表面,abc"},
        {"'地表面,1.5e3' is not a point", Points({"1.5e3"}), "地表面,1.5e3"},
        {"'地表面' is not a point", With([](TFgGmlText& P) { P.Tuples = "\n地表面 1\n"; }),
         "地表面 1"},
        {"'地表面,-' is not a point", Points({"-"}), "地表面,-"},
        {"beyond what a map holds", Points({"300000000"}), "地表面,300000000"},
        {"Only the +x-y point order is read; gml:sequenceRule gives '+y-x'",
         With([](TFgGmlText& P) { P.Order = "+y-x"; }), "<gml:sequenceRule"},
        {"gml:low and gml:high give -2 × 2 points", With([](TFgGmlText& P) { P.Low = "5 0"; }),
         "<gml:high>"},
        {"gml:low and gml:high give 100000 × 100000 points; a map holds 1 to 536870911",
         With([](TFgGmlText& P) { P.High = "99999 99999"; }), "<gml:high>"},
        {"gml:low and gml:high give 4294967296 × 4294967296 points", With([](TFgGmlText& P) {
             P.Low = "-2147483648 -2147483648";
             P.High = "2147483647 2147483647";
         }),
         "<gml:high>"},
        {"gml:startPoint lies outside the grid", With([](TFgGmlText& P) { P.StartPoint = "3 0"; }),
         "<gml:startPoint>"},
        {"gml:lowerCorner must hold 2 numbers, not '36.5'",
         With([](TFgGmlText& P) { P.Lower = "36.5"; }), "<gml:lowerCorner>"},
        {"gml:lowerCorner and gml:upperCorner enclose no area",
         With([](TFgGmlText& P) { P.Upper = "36.4 -84.4"; }), "<gml:upperCorner>"},
        {"The tuple list holds markup",
         With([](TFgGmlText& P) { P.Tuples = "\n地表面,1\n<!-- c -->地表面,2\n"; }), "<!-- c -->"},
        {"The tuple list holds markup",
         With([](TFgGmlText& P) { P.Tuples = "\n地表面,1\n<b/>\n"; }), "<b/>"},
        {"more than one gml:tupleList", With([](TFgGmlText& P) { P.Mesh = "<gml:tupleList/>"; }),
         "<gml:tupleList>"},
        {"gml:low appears twice", With([](TFgGmlText& P) { P.Low = "0 0</gml:low><gml:low>0 0"; }),
         "<gml:low>"},
        {"holds no gml:tupleList: it is not an FG-GML DEM", "<?xml version=\"1.0\"?>\n<a/>\n",
         nullptr},
    };
    for (const TCase& Case : Cases) {
        const std::string Path = test::WriteTempFile("bad.xml", Case.Text);
        std::string Expected = "\n" + Path;
        if (Case.AtLineOf) {
            const size_t At = Case.Text.find(Case.AtLineOf);
            ASSERT_NE(At, std::string::npos) << Case.Says;
            Expected += ":" + std::to_string(
                                  1 + std::count(Case.Text.begin(), Case.Text.begin() + At, '\n'));
        }
        try {
            OpenMap(Path);
            ADD_FAILURE() << Case.Says << ": loaded";
        } catch (const ETalvoError& Error) {
            const std::string Message = Error.what();
            EXPECT_NE(Message.find(Case.Says), std::string::npos) << Message;
            EXPECT_TRUE(Message.ends_with(Expected)) << Message << " / " << Expected;
        }
    }
}

} // namespace
} // namespace talvo
