// libFuzzer target: any bytes as an ARC/INFO export file, read and drawn on a small map.
#include "import/E00Reader.h"
#include "render/OverlayDrawing.h"
#include "support/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    std::vector<talvo::OverlayPoint> List;
    talvo::test::ReadAsTextFile(
        Data, Size, [&](talvo::TTextFile& File) { talvo::ReadOverlayText(File, List); });
    talvo::TLoadedMap Map;
    Map.NumHeader.SouthLatitude = 36.0;
    Map.NumHeader.NorthLatitude = 37.0;
    Map.NumHeader.WestLongitude = -85.0;
    Map.NumHeader.EastLongitude = -84.0;
    Map.NumHeader.Columns = 64;
    Map.NumHeader.Rows = 48;
    talvo::TBitmap Picture(64, 48);
    talvo::DrawOverlay(Picture, List, 0x0000FF, Map);
    return 0;
}
