#include "model/ScaleBar.h"

#include <gtest/gtest.h>

#include "import/OpenMap.h"

namespace talvo {
namespace {

// The Global Map sample: cells of 3″, about 74.4 m east-west at 36.6° N on WGS 84.
TEST(ScaleBar, ARoundLengthThatFollowsTheZoom) {
    TLoadedMap Map = OpenMap(TALVO_SAMPLES_DIR "/jacksboro/EL533945.hdr").Map;
    struct TCase {
        double Scale;
        const char* Text;
        double Pixels;
    };
    const TCase Cases[] = {{1, "5 km", 67.2}, {8, "1 km", 107.5}, {0.125, "50 km", 84.0}};
    for (const TCase& Case : Cases) {
        const std::optional<TScaleBar> Bar = ScaleBarAt(Map, 200, 172, Case.Scale, 120);
        ASSERT_TRUE(Bar);
        EXPECT_EQ(Bar->Text, Case.Text);
        EXPECT_NEAR(Bar->Pixels, Case.Pixels, 0.5) << Case.Text;
    }
    Map.Georeference.Georeferenced = false; // cells at their pixel and line
    EXPECT_FALSE(ScaleBarAt(Map, 200, 172, 1, 120));
}

} // namespace
} // namespace talvo
