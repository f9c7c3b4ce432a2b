#include "model/MapInfo.h"

#include <gtest/gtest.h>
#include <map>

namespace talvo {
namespace {

std::map<std::string, std::string> InfoByName(const TLoadedMap& Map) {
    std::map<std::string, std::string> Values;
    for (const auto& Field : MapInfoFields(Map)) {
        Values[Field.Name] = Field.Value;
    }
    return Values;
}

TEST(MapInfo, RasterCornersAreShownInDmsWithSixDecimals) {
    TLoadedMap Map;
    Map.NumHeader.MapKind = TMapKind::Elevation;
    const std::pair<double, const char*> Cases[] = {
        {35.5, "35.300000"},        {139.7525, "139.450900"},     {36.25, "36.150000"},
        {35.0, "35.000000"},        {-0.5, "-0.300000"},          {-84.375, "-84.223000"},
        {36.73333333, "36.440000"}, {-84.99999999, "-85.000000"},
    };
    for (const auto& [Degrees, Shown] : Cases) {
        Map.NumHeader.SouthLatitude = Degrees;
        EXPECT_EQ(InfoByName(Map)["Ido_WS"], Shown) << Degrees;
    }
}

TEST(MapInfo, NumericMapCornersAreShownAsStored) {
    TLoadedMap Map;
    Map.NumHeader.MapKind = TMapKind::Numeric;
    Map.NumHeader.SouthLatitude = 36.3023;
    Map.NumHeader.WestLongitude = -84.1949;
    auto Values = InfoByName(Map);
    EXPECT_EQ(Values["Ido_WS"], "36.302300");
    EXPECT_EQ(Values["Kei_WS"], "-84.194900");
}

TEST(MapInfo, GdalRastersAddTheirDriverAndShowProjectedCornersAsStored) {
    TLoadedMap Map;
    Map.NumHeader.MapKind = TMapKind::Gdal;
    Map.NumHeader.Comment = "GTiff";
    Map.NumHeader.SouthLatitude = 35.5;
    EXPECT_EQ(InfoByName(Map)["Ido_WS"], "35.300000"); // geographic: degrees → d.mmss
    Map.NumHeader.Projected = true;
    Map.NumHeader.SouthLatitude = 3999850.5;
    EXPECT_EQ(InfoByName(Map)["Ido_WS"], "3999850.500000");
    EXPECT_EQ(InfoByName(Map)["Comment"], "GTiff");
    const auto Details = MapDetailFields(Map);
    ASSERT_EQ(Details.size(), 8u);
    EXPECT_EQ(Details.back().Name, "Driver");
    EXPECT_EQ(Details.back().Value, "GTiff");
}

TEST(MapInfo, FieldsComeInWindowOrderAsUtf8) {
    TLoadedMap Map;
    Map.NumHeader.SourceScale = -25000;
    Map.NumHeader.SheetNames[1] = "\x83\x54\x83\x93"; // サン in Shift-JIS
    Map.RowsRead = 7;
    auto Fields = MapInfoFields(Map);
    ASSERT_EQ(Fields.size(), 23u);
    EXPECT_EQ(Fields.front().Name, "MeshCode");
    EXPECT_EQ(Fields[1].Value, "-25000");
    EXPECT_EQ(Fields[14].Name, "Zu_name2");
    EXPECT_EQ(Fields[14].Value, "サン");
    EXPECT_EQ(Fields.back().Name, "RecFlg");

    auto Details = MapDetailFields(Map);
    ASSERT_EQ(Details.size(), 7u);
    EXPECT_EQ(Details.back().Name, "RowsRead");
    EXPECT_EQ(Details.back().Value, "7");
}

} // namespace
} // namespace talvo
