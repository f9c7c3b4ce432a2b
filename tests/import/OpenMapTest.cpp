// The driver table: which driver takes a file, by its name and by its first bytes.
#include "import/OpenMap.h"

#include <gtest/gtest.h>

#include "import/FgGmlReader.h"
#include "support/FgGmlText.h"
#include "support/NumMapText.h"

namespace talvo {
namespace {

using test::WriteTempFile;

TEST(OpenMap, DriversKnowTheirFilesByNameAndByContent) {
    test::TFgGmlText Tile;
    Tile.Tuples = test::FgGmlPoints({"1.", "2.", "3.", "4.", "5.", "6."});
    const std::string FgGml = test::FormatFgGml(Tile);
    struct TCase {
        const char* Name;
        std::string Bytes;
        const char* Driver;
    };
    const TCase Cases[] = {
        {"EL533945.hdr", "", "Global Map"},
        {"el533945.HDR", "", "Global Map"},
        {"XX533945.hdr", "", "numeric map"}, // no Global Map kind
        {"a.bil", "", "BIL"},
        {"a.xml", "", "FG-GML DEM"},
        {"FG-GML-5339-45-DEM10B", FgGml, "FG-GML DEM"},
        {"tile.dat", "\xEF\xBB\xBF\n" + FgGml, "FG-GML DEM"},
        {"tiles.ZIP", "", "FG-GML DEM zip"},
        {"tiles.download", std::string("PK\x03\x04", 4) + "a.xml" + FgGml, "FG-GML DEM zip"},
        {"a.tif", "", "GDAL"},
        {"heights.dat", std::string("II*\0", 4), "GDAL"},
        {"heights.Mem", std::string("MM\0*", 4), "GDAL"},
        {"grid.txt", "NCOLS 4\nNROWS 3\n", "GDAL"},
        {"mosaic.xml2", "<VRTDataset rasterXSize=\"1\">", "GDAL"},
        {"533945.Mem", test::FormatNumMap({{1, 2}, {3, 4}}), "numeric map"},
        {"empty", "", "numeric map"},
        {"notes.txt", "<p>" + std::string(FgGmlNamespace) + "</p>", "numeric map"},
    };
    for (const TCase& Case : Cases) {
        EXPECT_STREQ(DriverOf(WriteTempFile(Case.Name, Case.Bytes)).Name, Case.Driver) << Case.Name;
    }
}

TEST(OpenMap, ARenamedTileOpensAsItsFormat) {
    test::TFgGmlText Tile;
    Tile.Tuples = test::FgGmlPoints({"1.", "2.", "3.", "4.", "5.", "6."});
    const TOpenedMap Named = OpenMap(WriteTempFile("named.xml", test::FormatFgGml(Tile)));
    const TOpenedMap Renamed = OpenMap(WriteTempFile("renamed.dat", test::FormatFgGml(Tile)));
    EXPECT_STREQ(KindTraits(Renamed.Map.NumHeader.MapKind).Code, "FG");
    EXPECT_EQ(Renamed.Map.RowsRead, Named.Map.RowsRead);
    EXPECT_EQ(Renamed.Map.NumData.HeightGrid.GetVal(1, 2), 60);
    EXPECT_EQ(Renamed.Map.Georeference.Crs, "EPSG:6668"); // the sample tiles say JGD2011
}

} // namespace
} // namespace talvo
