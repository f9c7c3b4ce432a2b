// libFuzzer target: any bytes as a numeric map file. Every outcome must be a clean load or a
// raised program error; sanitizers catch everything else.
#include <cstdint>
#include <cstdio>
#include <string>

#include "import/NumMapProc.h"
#include "support/SilentHost.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    std::string Bytes(reinterpret_cast<const char*>(Data), Size);
    std::FILE* Stream = fmemopen(Bytes.data(), Bytes.size(), "rb");
    if (!Stream) {
        return 0;
    }
    talvo::MapState Map;
    talvo::test::TSilentHost Host;
    talvo::InitMapState(Map);
    try {
        talvo::TTextFile File(Stream);
        talvo::ReadNumMap(File, 500, Map, Host);
        // Everything the reader claims to hold must be readable.
        for (int32_t R = 0; R < Map.RowsRead; ++R) {
            Map.NumData.RowLineGrid.GetVal(0, R);
            for (int32_t C = 0; C < Map.NumHeader.Pts_WE; ++C) {
                Map.NumData.HeightGrid.GetVal(R, C);
            }
        }
    } catch (const talvo::ETalvoError&) {
    }
    return 0;
}
