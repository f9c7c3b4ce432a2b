// The profile at its seam: a whole file in, samples and geodesic distances out.
#include "model/ElevationProfile.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

#include "import/OpenMap.h"
#include "platform/Errors.h"
#include "support/NumMapText.h"

namespace talvo {
namespace {

using test::WriteTempFile;

// The Global Map sample's grid: from 84.41375 W, 36.732917 N in cells of 1/1200°.
constexpr double Cell = 1.0 / 1200;
constexpr double West = -84.41375, North = 36.73291666667;

TEST(ElevationProfile, GeodesicDistanceAndOneSamplePerCell) {
    // 1° of latitude centred on 35° N on the WGS 84 ellipsoid.
    const TLoadedMap Numeric =
        OpenMap(WriteTempFile("profile.Mem", test::FormatNumMap({{100, 200}, {300, 400}}))).Map;
    EXPECT_NEAR(DistanceBetween(Numeric, {139.6, 34.5}, {139.6, 35.5}), 110940.6, 1.0);

    const TLoadedMap Map = OpenMap(TALVO_SAMPLES_DIR "/jacksboro/EL533945.hdr").Map;
    // From a quarter into cell (10, 20) to three quarters into cell (110, 60): 101 columns.
    const TMapPoint From{West + 10.25 * Cell, North - 20.25 * Cell};
    const TMapPoint To{West + 110.75 * Cell, North - 60.75 * Cell};
    const std::vector<TProfileSample> Samples = SampleProfile(Map, From, To);
    ASSERT_EQ(Samples.size(), 101u);
    EXPECT_EQ(Samples.front().Cell.Col, 10);
    EXPECT_EQ(Samples.front().Cell.Row, 20);
    EXPECT_EQ(Samples.back().Cell.Col, 110);
    EXPECT_EQ(Samples.back().Cell.Row, 60);
    for (size_t K = 1; K < Samples.size(); ++K) {
        EXPECT_EQ(Samples[K].Cell.Col, Samples[K - 1].Cell.Col + 1);
        EXPECT_GT(Samples[K].Distance, Samples[K - 1].Distance);
    }
    EXPECT_NEAR(Samples.back().Distance, DistanceBetween(Map, From, To), 0.01);
    const TProfileSummary Summary = SummariseProfile(Samples);
    EXPECT_LE(*Summary.Min, *Summary.Max);
    EXPECT_NEAR(Summary.Ascent - Summary.Descent,
                *Samples.back().Value.Metres - *Samples.front().Value.Metres, 1e-9);
    EXPECT_THROW(SampleProfile(Map, From, {West - Cell, North}), ETalvoError);
}

// A geographic GeoTIFF of one row of 36 cells of 10° round the equator's north, made by GDAL's own
// converter: heights 1, 5, no data, 2, 2.25, then 3.
std::string GlobeTiff() {
    std::string Cells = "1 5 -1 2 2.25";
    for (int Col = 5; Col < 36; ++Col) {
        Cells += " 3";
    }
    const std::string Grid =
        WriteTempFile("globe.asc", "ncols 36\nnrows 1\nxllcorner -180\nyllcorner 0\n"
                                   "cellsize 10\nNODATA_value -1\n" +
                                       Cells + "\n");
    const std::string Tiff = Grid.substr(0, Grid.size() - 4) + ".tif";
    std::filesystem::remove(Tiff);
    const std::string Command = "gdal_translate -q -ot Float32 -a_srs EPSG:4326 '" + Grid + "' '" +
                                Tiff + "' >/dev/null 2>&1";
    return std::system(Command.c_str()) == 0 ? Tiff : "";
}

TEST(ElevationProfile, DistancesAlongTheLineGapsAndTheSourcesDecimals) {
    const std::string Tiff = GlobeTiff();
    ASSERT_FALSE(Tiff.empty()) << "gdal_translate did not make the GeoTIFF";
    const TLoadedMap Map = OpenMap(Tiff).Map;
    // Nearly round the globe: the way along the line, not the 1,100 km between its ends.
    const std::vector<TProfileSample> Round = SampleProfile(Map, {-175, 5}, {175, 5});
    ASSERT_EQ(Round.size(), 36u);
    EXPECT_GT(Round.back().Distance, 3.8e7);
    EXPECT_NEAR(Round[1].Distance, DistanceBetween(Map, {-175, 5}, {-165, 5}), 1e-6);
    // 1 → 5 climbs 4; the gap after 5 hides whatever lies between 5 and 2; 2 → 3 climbs 1.
    const TProfileSummary Summary = SummariseProfile(Round);
    EXPECT_DOUBLE_EQ(Summary.Ascent, 5.0);
    EXPECT_DOUBLE_EQ(Summary.Descent, 0.0);
    const std::string Csv = ProfileCsv(Map, Round);
    EXPECT_TRUE(Csv.starts_with("distance_m,lon,lat,col,row,height_m,note\n0.00,"));
    EXPECT_NE(Csv.find(",2,0,,no data\n"), std::string::npos) << Csv;
    EXPECT_NE(Csv.find(",4,0,2.25,\n"), std::string::npos) << Csv;
    // Two points of one cell are two samples.
    const std::vector<TProfileSample> Within = SampleProfile(Map, {-174, 5}, {-176, 6});
    ASSERT_EQ(Within.size(), 2u);
    EXPECT_EQ(Within[0].Cell.Col, Within[1].Cell.Col);
    EXPECT_GT(Within[1].Distance, 0.0);
}

} // namespace
} // namespace talvo
