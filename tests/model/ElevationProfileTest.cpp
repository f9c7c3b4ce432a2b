// The profile at its seam: a whole file in, samples and geodesic distances out.
#include "model/ElevationProfile.h"

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
    EXPECT_DOUBLE_EQ(Samples.back().Distance, DistanceBetween(Map, From, To));
    const TProfileSummary Summary = SummariseProfile(Samples);
    EXPECT_LE(*Summary.Min, *Summary.Max);
    EXPECT_NEAR(Summary.Ascent - Summary.Descent,
                *Samples.back().Value.Metres - *Samples.front().Value.Metres, 1e-9);
    EXPECT_THROW(SampleProfile(Map, From, {West - Cell, North}), ETalvoError);
}

} // namespace
} // namespace talvo
