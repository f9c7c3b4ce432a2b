// Prints what our reader makes of a numeric map: "Pts_WE Pts_NS RowsRead", the four corners
// as stored, then one line per row read with the row's line number and its cells.
#include <cstdio>
#include <exception>

#include "import/NumMapProc.h"
#include "support/SilentHost.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: num_map_dump FILE\n");
        return 2;
    }
    talvo::MapState Map;
    talvo::test::TSilentHost Host;
    try {
        talvo::InitMapState(Map);
        talvo::LoadMapFile(argv[1], Map, Host);
    } catch (const std::exception& Error) {
        std::fprintf(stderr, "%s\n", Error.what());
        return 1;
    }
    const talvo::TNum_HeaderRec& H = Map.NumHeader;
    std::printf("%d %d %d\n%.4f %.4f %.4f %.4f\n", H.Pts_WE, H.Pts_NS, Map.RowsRead, H.Ido_WS,
                H.Kei_WS, H.Ido_EN, H.Kei_EN);
    for (int32_t R = 0; R < Map.RowsRead; ++R) {
        std::printf("%d", Map.NumData.RowLineGrid.GetVal(0, R));
        for (int32_t C = 0; C < H.Pts_WE; ++C) {
            std::printf(" %d", Map.NumData.HeightGrid.GetVal(R, C));
        }
        std::printf("\n");
    }
    return 0;
}
