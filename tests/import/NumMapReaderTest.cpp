#include "import/NumMapReader.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "import/OpenMap.h"
#include "model/DimError.h"
#include "platform/Errors.h"
#include "support/NumMapText.h"

namespace talvo {
namespace {

using test::FormatNumHeader;
using test::FormatNumMap;
using test::FormatNumRecord;
using test::TNumHeaderText;
using test::WriteTempFile;

class NumMapReader : public ::testing::Test {
  protected:
    NumMapReader() { InitLoadedMap(Map); }

    void Load(const std::string& Name, const std::string& Bytes) {
        TOpenedMap Opened = OpenMap(WriteTempFile(Name, Bytes), Map);
        Outcome = Opened.Outcome;
        Message = Opened.Message;
        Map = std::move(Opened.Map);
    }

    // The load's error message; "" when it succeeded.
    std::string LoadMessage(const std::string& Name, const std::string& Bytes) {
        try {
            Load(Name, Bytes);
        } catch (const ETalvoError& Error) {
            return Error.what();
        }
        return "";
    }

    // How a message names line Line of the test file Name.
    static std::string Where(const std::string& Name, int64_t Line) {
        const std::filesystem::path Folder =
            std::filesystem::path(WriteTempFile("anchor", "")).parent_path();
        return "\n" + (Folder / Name).string() + ":" + std::to_string(Line);
    }

    std::vector<int32_t> Row(int32_t R) const {
        std::vector<int32_t> Values;
        for (int32_t C = 0; C < Map.NumData.HeightGrid.Cols(); ++C) {
            Values.push_back(Map.NumData.HeightGrid.GetVal(R, C));
        }
        return Values;
    }

    TLoadedMap Map;
    TOpenOutcome Outcome{};
    std::string Message;
};

TEST_F(NumMapReader, ReadsTheHeaderFields) {
    TNumHeaderText H;
    H.SheetNames = {"\x83\x57\x83\x83\x83\x62\x83\x4e   ", "Two", "", "x"};
    H.SheetFlags = {"1", "2", " ", "4"};
    H.Comment = "hello world";
    H.RecordFlags = std::string(10, '1') + std::string(310, ' ');
    H.SouthLatitude = "0353000";
    H.WestLongitude = "-841949";
    Load("m.Sem", FormatNumHeader(H) + "\r\n");

    const TNum_HeaderRec& R = Map.NumHeader;
    EXPECT_EQ(R.MeshCode, "533945");
    EXPECT_EQ(R.SourceScale, 25000);
    EXPECT_EQ(R.SurveyYear, "1992");
    EXPECT_EQ(R.RevisionYear, "1998");
    EXPECT_EQ(R.DigitisedYear, "2001");
    EXPECT_EQ(R.Columns, 2);
    EXPECT_EQ(R.Rows, 2);
    EXPECT_DOUBLE_EQ(R.SouthLatitude, 35.3);
    EXPECT_DOUBLE_EQ(R.WestLongitude, -84.1949);
    EXPECT_DOUBLE_EQ(R.NorthLatitude, 35.4);
    EXPECT_DOUBLE_EQ(R.EastLongitude, 139.45);
    EXPECT_EQ(R.SheetCount, 1);
    EXPECT_EQ(R.SheetNames[0], "\x83\x57\x83\x83\x83\x62\x83\x4e"); // trimmed by bytes
    EXPECT_EQ(R.SheetNames[1], "Two");
    EXPECT_EQ(R.SheetNames[2], "");
    EXPECT_EQ(R.SheetFlags[2], "");
    EXPECT_EQ(R.SheetFlags[3], "4");
    EXPECT_EQ(R.RecordCount, 2);
    EXPECT_EQ(R.Comment, "hello world");
    EXPECT_EQ(R.RecordFlags, H.RecordFlags); // keeps its blanks
    EXPECT_STREQ(KindTraits(R.MapKind).Code, "NM");
    EXPECT_EQ(R.CellSpacing, 2500);
    EXPECT_EQ(Map.RowsRead, 0);
    EXPECT_EQ(Map.NumData.HeightGrid.Rows(), 2);
    EXPECT_EQ(Outcome, TOpenOutcome::Loaded);
    EXPECT_TRUE(KindTraits(R.MapKind).ShownIn3D);
}

TEST_F(NumMapReader, ReadsRowsInFileOrderWithTheirLineNumbers) {
    TNumHeaderText H;
    H.Columns = "3";
    H.Rows = "3";
    std::string Text = FormatNumHeader(H) + "\r\n" + FormatNumRecord(3, {1, -2, 37760}) + "\r\n" +
                       FormatNumRecord(1, {4, 5, 6}) + "\r\n" +
                       FormatNumRecord(2, {-9999, 32767, 99999}) + "\r\n";
    Load("order.MEM", Text);
    EXPECT_EQ(Map.RowsRead, 3);
    EXPECT_EQ(Map.NumHeader.CellSpacing, 500);
    EXPECT_EQ(Row(0), (std::vector<int32_t>{1, -2, 37760})); // Mt Fuji stays a mountain
    EXPECT_EQ(Row(1), (std::vector<int32_t>{4, 5, 6}));
    EXPECT_EQ(Row(2), (std::vector<int32_t>{-9999, 32767, 99999}));
    EXPECT_EQ(Map.NumData.RowLineGrid.GetVal(0, 0), 3);
    EXPECT_EQ(Map.NumData.RowLineGrid.GetVal(0, 1), 1);
    EXPECT_EQ(Map.NumData.RowLineGrid.GetVal(0, 2), 2);
    EXPECT_EQ(Map.NumData.RecCode, "5339");
    EXPECT_EQ(Map.NumData.RecSub, "45");
}

TEST_F(NumMapReader, AllLineEndsGiveTheSameGrid) {
    std::vector<std::vector<int>> Rows = {{10, 20, 30}, {40, 50, 60}};
    std::vector<std::vector<int32_t>> Expected = {{10, 20, 30}, {40, 50, 60}};
    for (const char* End : {"\r\n", "\r", "\n"}) {
        Load("ends.Tem", FormatNumMap(Rows, End));
        EXPECT_EQ(Map.RowsRead, 2) << int(End[0]);
        EXPECT_EQ(Row(0), Expected[0]);
        EXPECT_EQ(Row(1), Expected[1]);
    }
}

TEST_F(NumMapReader, CtrlZEndsTheDataAndFewerRowsThanDeclaredAreFine) {
    TNumHeaderText H;
    H.Rows = "3";
    std::string Text = FormatNumHeader(H) + "\r\n" + FormatNumRecord(1, {1, 2}) + "\r\n" +
                       FormatNumRecord(2, {3, 4}) + "\r\n\x1a" + "garbage\r\n";
    Load("z.Mem", Text);
    EXPECT_EQ(Map.RowsRead, 2);
    EXPECT_EQ(Row(2), (std::vector<int32_t>{0, 0}));
}

TEST_F(NumMapReader, ShortValueFieldsAndShortLines) {
    // The last value keeps the digits present; a missing value field is an error.
    std::string Cut = FormatNumRecord(1, {7, 12345});
    Load("cut.Mem", FormatNumMap({{1, 2}}).substr(0, 547) + Cut.substr(0, Cut.size() - 2) + "\r\n");
    EXPECT_EQ(Row(0), (std::vector<int32_t>{7, 123}));

    EXPECT_EQ(LoadMessage("short.Mem",
                          FormatNumMap({{1, 2}}).substr(0, 547) + FormatNumRecord(1, {7}) + "\r\n"),
              "'' は整数ではありません" + Where("short.Mem", 2));
    EXPECT_EQ(Map.RowsRead, 1); // the map before stays
}

TEST_F(NumMapReader, FailuresNameTheFileAndTheLine) {
    TNumHeaderText Scale, Corner, Zero;
    Scale.SourceScale = "25k";
    Corner.NorthLatitude = "03x4000";
    Zero.Columns = "0";
    const struct {
        const char* Name;
        std::string Bytes;
        std::string Message;
        int Line;
    } Cases[] = {
        {"empty.Mem", "", "'' は整数ではありません", 1},
        {"scale.Mem", FormatNumHeader(Scale), "'  25k' は整数ではありません", 1},
        {"corner.Mem", FormatNumHeader(Corner), "'03x.4000' は浮動小数点数ではありません", 1},
        {"zero.Mem", FormatNumHeader(Zero), "Invalid Index Value", 1},
        {"many.Mem", FormatNumMap({{1, 2}, {3, 4}}) + FormatNumRecord(3, {5, 6}) + "\r\n",
         "2-Index Is Over Range(2)", 4},
        {"blank.Mem", FormatNumMap({{1, 2}}) + "\r\n", "'' は整数ではありません", 3},
        {"lineno.Mem", FormatNumHeader({}) + "\r\n533945 x      1    2\r\n",
         "' x ' は整数ではありません", 2},
    };
    for (const auto& Case : Cases) {
        EXPECT_EQ(LoadMessage(Case.Name, Case.Bytes), Case.Message + Where(Case.Name, Case.Line));
    }
    EXPECT_THROW(OpenMap("/nonexistent-talvo/a.Mem"), EInOutError);
}

TEST_F(NumMapReader, AFailedLoadLeavesThePreviousMap) {
    Load("good.Mem", FormatNumMap({{1, 2}, {3, 4}}));
    ASSERT_EQ(Map.RowsRead, 2);
    TNumHeaderText H;
    H.Rows = "-1";
    EXPECT_EQ(LoadMessage("bad.Mem", FormatNumHeader(H)),
              "Invalid Index Value" + Where("bad.Mem", 1));
    EXPECT_EQ(LoadMessage("many.Mem", FormatNumMap({{7, 8}}) + FormatNumRecord(2, {5, 6}) + "\r\n"),
              "2-Index Is Over Range(1)" + Where("many.Mem", 3));
    EXPECT_EQ(Map.RowsRead, 2);
    EXPECT_EQ(Row(1), (std::vector<int32_t>{3, 4}));
    EXPECT_NE(Map.NumHeader.MapFileName.find("good.Mem"), std::string::npos);
}

TEST_F(NumMapReader, DispatchByExtensionAndPrefix) {
    std::string Valid = FormatNumMap({{1, 2}});
    Load("map.txt", Valid);
    EXPECT_EQ(Map.NumHeader.CellSpacing, 0);
    EXPECT_STREQ(KindTraits(Map.NumHeader.MapKind).Code, "NM");
    Load("noext", Valid);
    EXPECT_EQ(Map.NumHeader.CellSpacing, 0);
    Load("lower.sem", Valid);
    EXPECT_EQ(Map.NumHeader.CellSpacing, 2500);

    // Other .hdr prefixes are numeric maps; the raster prefixes go to the raster reader, which
    // asks for their companion files.
    Load("ab1234.hdr", Valid);
    EXPECT_STREQ(KindTraits(Map.NumHeader.MapKind).Code, "NM");
    for (const char* Raster : {"Lu1234.hdr", "VG1234.HDR", "el0001.hdr", "w.bil"}) {
        Load(Raster, Valid);
        EXPECT_EQ(Outcome, TOpenOutcome::CompanionMissing) << Raster;
        EXPECT_NE(Message.find("みつかりません"), std::string::npos) << Raster;
        EXPECT_FALSE(IsMapLoaded(Map.NumHeader.MapKind)) << Raster;
    }
    EXPECT_EQ(NumMapCellSpacing(".TEM"), 10000);
}

TEST_F(NumMapReader, ReadsTheBundledSample) {
    Map = OpenMap(TALVO_SAMPLES_DIR "/jacksboro/533945.Mem").Map;
    EXPECT_EQ(Map.NumHeader.Columns, 200);
    EXPECT_EQ(Map.NumHeader.Rows, 200);
    EXPECT_EQ(Map.RowsRead, 200);
    EXPECT_EQ(Map.NumHeader.CellSpacing, 500);
    int32_t Low = INT32_MAX, High = INT32_MIN;
    for (int32_t R = 0; R < 200; ++R) {
        for (int32_t Value : Row(R)) {
            Low = std::min(Low, Value);
            High = std::max(High, Value);
        }
    }
    // Tenths of a metre within the DEM's 236 m to 1076 m.
    EXPECT_GE(Low, 2360);
    EXPECT_LE(High, 10760);
    EXPECT_GT(High, Low);
}

} // namespace
} // namespace talvo
