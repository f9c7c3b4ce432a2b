#include "import/GlobalMapReader.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "import/OpenMap.h"
#include "import/RasterRows.h"
#include "model/DimError.h"
#include "platform/Errors.h"
#include "platform/FileHandle.h"
#include "platform/Messages.h"
#include "support/NumMapText.h"

namespace talvo {
namespace {

using test::WriteTempFile;

const std::string BilHeader[] = {"NBITS 16",    "NCOLS 3",  "NROWS 2",  "ULXMAP 139.0",
                                 "ULYMAP 36.0", "XDIM 0.5", "YDIM 0.25"};

std::string Lines(const std::vector<std::string>& Text, const std::string& End,
                  bool FinalEnd = true) {
    std::string Joined;
    for (size_t I = 0; I < Text.size(); ++I) {
        Joined += Text[I];
        if (I + 1 < Text.size() || FinalEnd) {
            Joined += End;
        }
    }
    return Joined;
}

std::string Bytes(std::initializer_list<int> Values) {
    std::string Text;
    for (int Value : Values) {
        Text += static_cast<char>(Value);
    }
    return Text;
}

class GlobalMapReader : public ::testing::Test {
  protected:
    GlobalMapReader() { InitLoadedMap(Map); }

    // Opens Chosen in the test folder; returns the error's message, "" when none.
    std::string Load(const std::string& Chosen) {
        try {
            TOpenedMap Opened = OpenMap(Folder() + "/" + Chosen, Map);
            Outcome = Opened.Outcome;
            Message = Opened.Message;
            Map = std::move(Opened.Map);
        } catch (const ETalvoError& Error) {
            return Error.what();
        }
        return "";
    }
    std::string Folder() const {
        return std::filesystem::path(WriteTempFile("anchor", "")).parent_path().string();
    }
    TProgress Unwatched;
    std::vector<int32_t> Row(int32_t R) const {
        std::vector<int32_t> Values;
        for (int32_t C = 0; C < Map.NumHeader.Columns; ++C) {
            Values.push_back(Map.NumData.HeightGrid.GetVal(R, C));
        }
        return Values;
    }

    TLoadedMap Map;
    TOpenOutcome Outcome{};
    std::string Message;
};

TEST_F(GlobalMapReader, BilHeaderInEveryLineEndStyle) {
    std::vector<std::string> Header(std::begin(BilHeader), std::end(BilHeader));
    for (const char* End : {"\r\n", "\r", "\n"}) {
        for (bool FinalEnd : {true, false}) {
            WriteTempFile("t.hdr", Lines(Header, End, FinalEnd));
            WriteTempFile("t.bil", std::string(12, '\0'));
            ASSERT_EQ(Load("t.bil"), "");
            const TNum_HeaderRec& H = Map.NumHeader;
            EXPECT_EQ(H.BytesPerCell, 2);
            EXPECT_EQ(H.Columns, 3);
            EXPECT_EQ(H.Rows, 2);
            // ULXMAP and ULYMAP are the centre of the north-west cell.
            EXPECT_DOUBLE_EQ(H.NorthLatitude, 36.125);
            EXPECT_DOUBLE_EQ(H.WestLongitude, 138.75);
            EXPECT_DOUBLE_EQ(H.SouthLatitude, 35.625);
            EXPECT_DOUBLE_EQ(H.EastLongitude, 140.25) << int(End[0]) << FinalEnd;
            EXPECT_STREQ(KindTraits(H.MapKind).Code, "BL");
            EXPECT_EQ(H.MeshCode, "");
            EXPECT_EQ(H.CellSpacing, 10000);
            EXPECT_EQ(Map.RowsRead, 2);
        }
    }
}

TEST_F(GlobalMapReader, BilKeysIgnoreCaseTabsAndCommas) {
    WriteTempFile("k.hdr", "nbits 16\nncols 3,4\nNROWS\t9\nnrows 1\nNODATA -9999\nulxmap 1\n");
    WriteTempFile("k.bil", std::string(6, '\0'));
    ASSERT_EQ(Load("k.bil"), "");
    EXPECT_EQ(Map.NumHeader.Columns, 3);
    EXPECT_EQ(Map.NumHeader.Rows, 1);
    EXPECT_DOUBLE_EQ(Map.NumHeader.WestLongitude, 1.0);

    WriteTempFile("bad.hdr", "NBITS 16\nNCOLS 3x\n");
    WriteTempFile("bad.bil", "");
    EXPECT_EQ(Load("bad.bil"), "'3x' は整数ではありません\n" + Folder() + "/bad.hdr:2");
    WriteTempFile("badreal.hdr", "XDIM 0.5.5\n");
    WriteTempFile("badreal.bil", "");
    EXPECT_EQ(Load("badreal.bil"),
              "'0.5.5' は浮動小数点数ではありません\n" + Folder() + "/badreal.hdr:1");
}

TEST_F(GlobalMapReader, CellsInBothByteOrdersAndOneByteClasses) {
    WriteTempFile("le.hdr", "NBITS 16\nNCOLS 2\nNROWS 2\n");
    WriteTempFile("le.bil", Bytes({0x10, 0x00, 0xFF, 0xFF, 0xF1, 0xD8, 0xC0, 0x0E}) + "extra");
    ASSERT_EQ(Load("le.bil"), "");
    EXPECT_EQ(Row(0), (std::vector<int32_t>{160, -10}));
    EXPECT_EQ(Row(1), (std::vector<int32_t>{-99990, 37760})); // no data, Mt Fuji: kept whole
    EXPECT_EQ(Map.NumData.RowLineGrid.GetVal(0, 1), 2);

    WriteTempFile("be.hdr", "BYTEORDER M\nNBITS 16\nNCOLS 2\nNROWS 1\n");
    WriteTempFile("be.bil", Bytes({0x00, 0x10, 0xFF, 0xFF}));
    ASSERT_EQ(Load("be.bil"), "");
    EXPECT_EQ(Row(0), (std::vector<int32_t>{160, -10}));

    WriteTempFile("LU0001", Bytes({0xC8, 0x0A, 0x5A}));
    WriteTempFile("LU0001.hdr", "Number of bytes per cell :1\n"
                                "Number of cells in longitude direction :3\n"
                                "Number of cells in latitude direction :1\n");
    ASSERT_EQ(Load("LU0001.hdr"), "");
    EXPECT_EQ(Row(0), (std::vector<int32_t>{200, 10, 90}));
    EXPECT_FALSE(KindTraits(Map.NumHeader.MapKind).ShownIn3D);
}

TEST_F(GlobalMapReader, GlobalMapHeaderFields) {
    WriteTempFile("el533945", std::string(8, '\0'));
    WriteTempFile(
        "el533945.hdr",
        "Data name :x\r\n"
        "Number of bytes per cell :2\r\n"
        "Number of cells in longitude direction :2\r\n"
        "Number of cells in latitude direction :  2\r\n"
        "Southern latitude and center latitude of the cell on the southern edge :24.000000, "
        "24.004167\r\n"
        "Western longitude and center longitude of the cell on the western edge : 122.5 \r\n"
        "Northern latitude and center latitude of the cell on the northern edge :25\r\n"
        "Eastern longitude and center longitude of the cell on the eastern edge :123\r\n"
        "Width of a cell in latitude direction :0.5\r\n"
        "Width of a cell in longitude direction :0.25\r\n"
        "Number of cells in longitude direction:99\r\n"); // no blank: ignored
    ASSERT_EQ(Load("el533945.hdr"), "");
    const TNum_HeaderRec& H = Map.NumHeader;
    EXPECT_STREQ(KindTraits(H.MapKind).Code, "EL");
    EXPECT_EQ(H.MeshCode, "533945");
    EXPECT_EQ(H.DataFileName, Folder() + "/el533945");
    EXPECT_EQ(H.Columns, 2);
    EXPECT_EQ(H.Rows, 2);
    EXPECT_DOUBLE_EQ(H.SouthLatitude, 24.0);
    EXPECT_DOUBLE_EQ(H.WestLongitude, 122.5);
    EXPECT_DOUBLE_EQ(H.NorthLatitude, 25.0);
    EXPECT_DOUBLE_EQ(H.EastLongitude, 123.0);
    EXPECT_DOUBLE_EQ(H.CellWidthLat, 0.5);
    EXPECT_DOUBLE_EQ(H.CellWidthLon, 0.25);
    EXPECT_TRUE(KindTraits(H.MapKind).ShownIn3D);

    WriteTempFile("VG1", "");
    WriteTempFile("VG1.hdr", "Number of bytes per cell :1 \n");
    EXPECT_EQ(Load("VG1.hdr"), "'1 ' は整数ではありません\n" + Folder() + "/VG1.hdr:1");
}

TEST_F(GlobalMapReader, MissingCompanionsAreTold) {
    WriteTempFile("alone.bil", "");
    EXPECT_EQ(Load("alone.bil"), "");
    EXPECT_EQ(Outcome, TOpenOutcome::CompanionMissing);
    EXPECT_EQ(Message, "ヘッダーファイルがみつかりません\n\r" + Folder() + "/alone.hdr");
    EXPECT_FALSE(IsMapLoaded(Map.NumHeader.MapKind));

    WriteTempFile("EL9999.hdr", "Number of bytes per cell :2\n");
    EXPECT_EQ(Load("EL9999.hdr"), "");
    EXPECT_EQ(Outcome, TOpenOutcome::CompanionMissing);
    EXPECT_EQ(Message, "メッシュファイルがみつかりません\n\r" + Folder() + "/EL9999");

    // Found in another letter case.
    WriteTempFile("Mixed.HDR", "NBITS 8\nNCOLS 1\nNROWS 1\n");
    WriteTempFile("Mixed.bil", Bytes({7}));
    EXPECT_EQ(Load("Mixed.bil"), "");
    EXPECT_EQ(Row(0), std::vector<int32_t>{7});
}

TEST_F(GlobalMapReader, HeadersThatCannotBeShown) {
    WriteTempFile("nibble.hdr", "NBITS 4\nNCOLS 3\nNROWS 2\n");
    WriteTempFile("nibble.bil", "abc");
    EXPECT_EQ(Load("nibble.bil"), "");
    EXPECT_EQ(Outcome, TOpenOutcome::HeaderOnly);
    EXPECT_STREQ(KindTraits(Map.NumHeader.MapKind).Code, "BL"); // kind and path set, nothing read
    EXPECT_EQ(Map.RowsRead, 0);

    // Wider cells are GDAL's.
    WriteTempFile("wide.hdr", "NBITS 32\nNCOLS 3\nNROWS 2\n");
    WriteTempFile("wide.bil", std::string(24, '\0'));
    EXPECT_EQ(Load("wide.bil"), "");
    EXPECT_STREQ(KindTraits(Map.NumHeader.MapKind).Code, "GD");

    // Sizes the header declares that cannot be read: the header is named.
    const struct {
        const char* Name;
        const char* Header;
        std::string Message;
    } Refused[] = {
        {"huge", "NBITS 16\nNCOLS 2147483647\nNROWS 2\n",
         Text(TText::RasterTooLarge, {"2147483647", "2"})},
        {"huge2", "NBITS 16\nNCOLS 60000\nNROWS 60000\n",
         Text(TText::RasterTooLarge, {"60000", "60000"})},
        {"norows", "NBITS 16\nNCOLS 2\nNROWS 0\n", "Invalid Index Value"},
    };
    for (const auto& Case : Refused) {
        const std::string Name = Case.Name;
        WriteTempFile(Name + ".hdr", Case.Header);
        WriteTempFile(Name + ".bil", std::string(24, '\0'));
        EXPECT_EQ(Load(Name + ".bil"), Case.Message + ("\n" + Folder() + "/" + Name + ".hdr"));
    }
}

// The most address space this process has held, in KiB.
int64_t PeakKiB() {
    std::ifstream Status("/proc/self/status");
    std::string Line;
    while (std::getline(Status, Line)) {
        if (Line.starts_with("VmPeak:")) {
            return std::stoll(Line.substr(7));
        }
    }
    return 0;
}

TEST_F(GlobalMapReader, AHugeGridOverATinyFileIsRefusedBeforeAllocating) {
    // 500 million cells: 2 GB of heights declared over one byte of data.
    WriteTempFile("EL000500.hdr", "Number of bytes per cell :2\n"
                                  "Number of cells in longitude direction :25000\n"
                                  "Number of cells in latitude direction :20000\n");
    WriteTempFile("EL000500", "x");
    const int64_t Before = PeakKiB();
    EXPECT_EQ(Load("EL000500.hdr"), "ﾌｧｲﾙの末尾以降を読み込みました\n" + Folder() + "/EL000500");
    EXPECT_LT(PeakKiB() - Before, 256 << 10);
}

TEST_F(GlobalMapReader, ALargeGridNeedsHalfItsBytesToBeRead) {
    // 4096 one-byte cells a row: 4098 rows are just over 64 MiB of heights, half their bytes
    // 2049 rows; 4096 rows are 64 MiB, not over.
    const struct {
        int32_t Rows;
        size_t FileBytes;
        int32_t RowsRead;
        int32_t GridRows;
    } Cases[] = {
        {4098, 2049 * 4096, 2049, 4098}, // half: the rows read so far stay
        {4098, 2049 * 4096 - 1, 0, 0},   // less than half: refused before dimensioning
        {4096, 1, 0, 4096},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.FileBytes);
        const std::string Path = WriteTempFile("half.bil", std::string(Case.FileBytes, '\1'));
        TFileHandle File(std::fopen(Path.c_str(), "rb"));
        TLoadedMap Read;
        Read.NumHeader.BytesPerCell = 1;
        Read.NumHeader.Columns = 4096;
        Read.NumHeader.Rows = Case.Rows;
        EXPECT_THROW(ReadRasterRows(File.get(), Read, Unwatched), EInOutError);
        EXPECT_EQ(Read.RowsRead, Case.RowsRead);
        EXPECT_EQ(Read.NumData.HeightGrid.Rows(), Case.GridRows);
    }
}

TEST_F(GlobalMapReader, AShortDataFileKeepsTheRowsThatArrivedWhole) {
    // 1024 cells of 2 bytes a row: rows are read in blocks of 2048, so 4100 rows take three.
    constexpr int32_t Cols = 1024, Rows = 4100;
    auto Cell = [](int32_t R, int32_t C) {
        return static_cast<int16_t>((R * 7 + C) % 30000 - 9000);
    };
    std::string Data;
    for (int32_t R = 0; R < Rows; ++R) {
        for (int32_t C = 0; C < Cols; ++C) {
            const auto Value = static_cast<uint16_t>(Cell(R, C));
            Data += static_cast<char>(Value & 0xFF);
            Data += static_cast<char>(Value >> 8);
        }
    }
    for (size_t Cut : {Data.size(), size_t{4099} * 2048 + 5, size_t{2} * 2048 + 1}) {
        SCOPED_TRACE(Cut);
        TFileHandle File(std::fopen(WriteTempFile("big.bil", Data.substr(0, Cut)).c_str(), "rb"));
        TLoadedMap Read;
        InitLoadedMap(Read);
        Read.NumHeader.BytesPerCell = 2;
        Read.NumHeader.Columns = Cols;
        Read.NumHeader.Rows = Rows;
        if (Cut == Data.size()) {
            ReadRasterRows(File.get(), Read, Unwatched);
        } else {
            EXPECT_THROW(ReadRasterRows(File.get(), Read, Unwatched), EInOutError);
        }
        const auto Whole = static_cast<int32_t>(Cut / 2048);
        EXPECT_EQ(Read.RowsRead, Whole);
        for (int32_t R : {0, 1, 2047, 2048, 4095, 4096, 4099}) {
            const bool Stored = R < Whole;
            EXPECT_EQ(Read.NumData.HeightGrid.GetVal(R, 1023), Stored ? Cell(R, 1023) * 10 : 0)
                << R;
            EXPECT_EQ(Read.NumData.RowLineGrid.GetVal(0, R), Stored ? R + 1 : 0) << R;
        }
    }
}

TEST_F(GlobalMapReader, ReadsTheBundledSamples) {
    for (const char* Name : {"EL533945.hdr", "LU533945.hdr", "VG533945.hdr", "jacksboro.bil"}) {
        SCOPED_TRACE(Name);
        Map = OpenMap(std::string(TALVO_SAMPLES_DIR "/jacksboro/") + Name).Map;
        EXPECT_EQ(Map.NumHeader.Columns, 403);
        EXPECT_EQ(Map.RowsRead, 344);
    }
    // The elevation raster and the .bil hold the same DEM, in tenths of a metre.
    const TLoadedMap Bil = OpenMap(TALVO_SAMPLES_DIR "/jacksboro/jacksboro.bil").Map;
    Map = OpenMap(TALVO_SAMPLES_DIR "/jacksboro/EL533945.hdr").Map;
    for (int32_t R = 0; R < 344; R += 17) {
        for (int32_t C = 0; C < 403; C += 13) {
            int32_t Value = Map.NumData.HeightGrid.GetVal(R, C);
            EXPECT_EQ(Value, Bil.NumData.HeightGrid.GetVal(R, C));
            EXPECT_GE(Value, 2360);
            EXPECT_LE(Value, 10760);
        }
    }
}

} // namespace
} // namespace talvo
