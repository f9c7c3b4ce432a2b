// libFuzzer target: any bytes as an ARC/INFO export file, read and drawn on a small map.
#include <cstdint>
#include <cstdio>
#include <string>

#include "import/OverlayProc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    std::string Bytes(reinterpret_cast<const char*>(Data), Size);
    std::FILE* Stream = fmemopen(Bytes.data(), Bytes.size(), "rb");
    if (!Stream) {
        return 0;
    }
    std::vector<talvo::OverlayPoint> List;
    try {
        talvo::TTextFile File(Stream);
        talvo::ReadOverlayText(File, "fuzz.e00", List);
    } catch (const talvo::ETalvoError&) {
    }
    talvo::MapState Map;
    Map.NumHeader.Ido_WS = 36.0;
    Map.NumHeader.Ido_EN = 37.0;
    Map.NumHeader.Kei_WS = -85.0;
    Map.NumHeader.Kei_EN = -84.0;
    Map.NumHeader.Pts_WE = 64;
    Map.NumHeader.Pts_NS = 48;
    talvo::TBitmap Picture(64, 48);
    talvo::DrawOverlay(Picture, List, 0x0000FF, Map);
    return 0;
}
