// libFuzzer target: a raster's data path. The first four bytes choose the width (1..64),
// the height (1..64), the bytes per cell (1 or 2) and the byte order; the rest is the data
// file, which may be short.
#include <cstdint>
#include <cstdio>
#include <string>

#include "import/RasterRows.h"
#include "platform/Errors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    if (Size < 4) {
        return 0;
    }
    talvo::TLoadedMap Map;
    talvo::InitLoadedMap(Map);
    talvo::TProgress Unwatched;
    talvo::TNum_HeaderRec& H = Map.NumHeader;
    H.Columns = 1 + Data[0] % 64;
    H.Rows = 1 + Data[1] % 64;
    H.BytesPerCell = 1 + Data[2] % 2;
    H.BigEndian = Data[3] % 2;
    std::string Bytes(reinterpret_cast<const char*>(Data) + 4, Size - 4);
    std::FILE* Stream = fmemopen(Bytes.data(), Bytes.size(), "rb");
    if (!Stream) {
        return 0;
    }
    try {
        talvo::ReadRasterRows(Stream, Map, Unwatched);
    } catch (const talvo::ETalvoError&) {
    }
    std::fclose(Stream);
    // Every row counted as read holds what the file gave, within 16-bit metres × 10.
    for (int32_t R = 0; R < Map.RowsRead; ++R) {
        for (int32_t C = 0; C < H.Columns; ++C) {
            int32_t Value = Map.NumData.HeightGrid.GetVal(R, C);
            if (Value < -327680 || Value > 327670) {
                __builtin_trap();
            }
        }
    }
    return 0;
}
