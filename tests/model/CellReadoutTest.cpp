// The readout at its seam: a whole file in, the cell under a point and its value out.
#include "model/CellReadout.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

#include "import/OpenMap.h"
#include "support/NumMapText.h"
#include "support/ScopedEnv.h"

namespace talvo {
namespace {

using test::WriteTempFile;

std::string Sample(const std::string& Name) {
    return TALVO_SAMPLES_DIR "/jacksboro/" + Name;
}

// The .bil sample with its first cell turned to sea (-9999 m).
std::string BilWithSea() {
    std::string Cells = test::FileText(Sample("jacksboro.bil"));
    Cells[0] = static_cast<char>(0xF1); // -9999 little-endian
    Cells[1] = static_cast<char>(0xD8);
    WriteTempFile("sea.hdr", test::FileText(Sample("jacksboro.hdr")));
    return WriteTempFile("sea.bil", Cells);
}

// A numeric map of 2 × 3 cells whose file ends after two rows.
std::string ShortNumericMap() {
    test::TNumHeaderText Header;
    Header.Rows = "3";
    std::string Text = test::FormatNumHeader(Header);
    Text += "\r\n";
    Text += test::FormatNumRecord(1, {1, 2});
    Text += "\r\n";
    Text += test::FormatNumRecord(2, {3, 4});
    Text += "\r\n";
    return WriteTempFile("short.Mem", Text);
}

// A projected GeoTIFF of 3 × 2 cells of 100 m in UTM zone 54N, made by GDAL's own converter.
std::string ProjectedTiff() {
    const std::string Grid =
        WriteTempFile("utm.asc", "ncols 3\nnrows 2\nxllcorner 500000\n"
                                 "yllcorner 3900000\ncellsize 100\n"
                                 "NODATA_value -1\n1.5 2.25 3.5\n4.5 -1 6.5\n");
    const std::string Tiff = Grid.substr(0, Grid.size() - 4) + ".tif";
    std::filesystem::remove(Tiff);
    const std::string Command =
        "gdal_translate -q -a_srs EPSG:32654 '" + Grid + "' '" + Tiff + "' >/dev/null 2>&1";
    return std::system(Command.c_str()) == 0 ? Tiff : "";
}

struct TCellCase {
    const char* Label;
    std::string Path;
    TMapPoint Point;
    int32_t Col, Row; // -1: off the map
    const char* Value;
};

// Cell centres: the samples' grids start at 84.41375 W, 36.732917 N in cells of 1/1200°.
constexpr double Cell = 1.0 / 1200;
constexpr double West = -84.41375, North = 36.73291666667;

TEST(CellReadout, CellsAndValuesOfEveryKind) {
    test::TScopedEnv English("LC_ALL", "en_US.UTF-8");
    const std::string Numeric =
        WriteTempFile("readout.Mem", test::FormatNumMap({{100, -9999}, {5, 37760}}));
    const std::string Tile = TALVO_SAMPLES_DIR "/../tests/data/FG-GML-5339-45-01-DEM5A.xml";
    const std::string Tiff = ProjectedTiff();
    ASSERT_FALSE(Tiff.empty()) << "gdal_translate did not make the GeoTIFF";
    const TCellCase Cases[] = {
        // A 2 × 2 numeric map over 139°30′–139°45′ E, 35°30′–35°40′ N.
        {"numeric first", Numeric, {139.51, 35.66}, 0, 0, "10.0"},
        {"numeric sea", Numeric, {139.74, 35.66}, 1, 0, "sea"},
        {"numeric last", Numeric, {139.74, 35.51}, 1, 1, "3776.0"},
        {"numeric outside", Numeric, {139.76, 35.51}, -1, -1, ""},
        {"EL first", Sample("EL533945.hdr"), {West + Cell / 4, North - Cell / 4}, 0, 0, "483"},
        {"EL last",
         Sample("EL533945.hdr"),
         {West + 402.75 * Cell, North - 343.75 * Cell},
         402,
         343,
         "272"},
        {"EL outside", Sample("EL533945.hdr"), {West - Cell / 4, North - Cell}, -1, -1, ""},
        {"LU class",
         Sample("LU533945.hdr"),
         {West + 402.5 * Cell, North - 0.5 * Cell},
         402,
         0,
         "Mixed area"},
        {"LU last",
         Sample("LU533945.hdr"),
         {West + 402.5 * Cell, North - 343.5 * Cell},
         402,
         343,
         "Cropland"},
        {"numeric not read", ShortNumericMap(), {139.74, 35.51}, 1, 2, "not read"},
        {"bil sea", BilWithSea(), {West + Cell / 2, North - Cell / 2}, 0, 0, "sea"},
        {"bil outside", Sample("jacksboro.bil"), {West + Cell, North + Cell / 4}, -1, -1, ""},
        // 4 × 3 points over 84.5–84.4875 W, 36.5–36.508333 N; the first left out, the last
        // three past the end of the tuple list.
        {"FG before start", Tile, {-84.499, 36.508}, 0, 0, "no data"},
        {"FG height", Tile, {-84.4925, 36.508}, 2, 0, "12.35"},
        {"FG no data", Tile, {-84.4925, 36.5045}, 2, 1, "no data"},
        {"FG last", Tile, {-84.488, 36.501}, 3, 2, "no data"},
        {"GeoTIFF first", Tiff, {500050, 3900150}, 0, 0, "1.5"},
        {"GeoTIFF centimetres", Tiff, {500150, 3900150}, 1, 0, "2.25"},
        {"GeoTIFF no data", Tiff, {500150, 3900050}, 1, 1, "no data"},
        {"GeoTIFF last", Tiff, {500299, 3900001}, 2, 1, "6.5"},
        {"GeoTIFF outside", Tiff, {500301, 3900001}, -1, -1, ""},
    };
    for (const TCellCase& Case : Cases) {
        SCOPED_TRACE(Case.Label);
        const TLoadedMap Map = OpenMap(Case.Path).Map;
        const std::optional<TGridCell> Found = CellAt(Map, Case.Point);
        if (Case.Col < 0) {
            EXPECT_FALSE(Found);
            continue;
        }
        ASSERT_TRUE(Found);
        EXPECT_EQ(Found->Col, Case.Col);
        EXPECT_EQ(Found->Line, Case.Row);
        EXPECT_EQ(ValueAt(Map, *Found).Text, Case.Value);
        // The readout names the cell the command line's col:row names.
        const std::optional<TGridCell> ByRow = CellOfRow(Map, Case.Col, Case.Row);
        ASSERT_TRUE(ByRow);
        std::string Col;
        for (const TMapInfoField& Field : ReadoutFields(Map, *ByRow)) {
            Col = Field.Name == "Col" ? Field.Value : Col;
        }
        EXPECT_EQ(Col, std::to_string(Case.Col));
    }
}

TEST(CellReadout, ProjectedMapsReadOutTheirCrs) {
    test::TScopedEnv English("LC_ALL", "en_US.UTF-8");
    const std::string Tiff = ProjectedTiff();
    ASSERT_FALSE(Tiff.empty());
    // The same cells without a CRS (the ASCII grid itself), and without any georeference (a
    // baseline TIFF, with no side file to place it).
    const std::string Grid = Tiff.substr(0, Tiff.size() - 4) + ".asc";
    const std::string Plain = Grid.substr(0, Grid.size() - 4) + "-plain.tif";
    std::filesystem::remove(Plain);
    const std::string Command = "gdal_translate -q -co PROFILE=BASELINE --config GDAL_PAM_ENABLED "
                                "NO '" +
                                Grid + "' '" + Plain + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(Command.c_str()), 0);
    const std::pair<std::string, std::string> Cases[] = {
        {Tiff, "Lon: 141.002748 141°00′09.9″E   Lat: 35.244430 35°14′39.9″N   "
               "Easting: 500250.00   Northing: 3900150.00   CRS: EPSG:32654   "},
        {Grid, "Easting: 500250.00   Northing: 3900150.00   CRS: none   "},
        {Plain, "Pixel: 2.5   Line: 0.5   CRS: none   "}};
    for (const auto& [Path, Place] : Cases) {
        const TLoadedMap Map = OpenMap(Path).Map;
        EXPECT_EQ(ReadoutLine(ReadoutFields(Map, *CellOfRow(Map, 2, 0))),
                  Place + "Col: 2   Row: 0   Height: 3.5")
            << Path;
    }
}

} // namespace
} // namespace talvo
