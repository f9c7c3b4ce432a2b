// Prints what our readers make of a map file, for comparison with another reader:
//   Columns Rows RowsRead
//   SouthLatitude WestLongitude NorthLatitude EastLongitude          (as stored)
//   one line per row read: its line number, then its cells
//   for each overlay layer found beside the map: "layer CODE COUNT", then "Seq Lon Lat" lines
#include <cstdio>
#include <exception>

#include "import/E00Reader.h"
#include "import/OpenMap.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: map_dump FILE\n");
        return 2;
    }
    talvo::TLoadedMap Map;
    talvo::TOverlaySet Overlays;
    try {
        talvo::TOpenedMap Opened = talvo::OpenMap(argv[1]);
        if (Opened.Outcome == talvo::TOpenOutcome::CompanionMissing) {
            std::fprintf(stderr, "%s\n", Opened.Message.c_str());
            return 1;
        }
        Map = std::move(Opened.Map);
        talvo::TLayerFlags All;
        All.fill(true);
        talvo::LoadOverlays(Overlays, Map, All);
    } catch (const std::exception& Error) {
        std::fprintf(stderr, "%s\n", Error.what());
        return 1;
    }
    const talvo::TNum_HeaderRec& H = Map.NumHeader;
    std::printf("%d %d %d\n%.17g %.17g %.17g %.17g\n", H.Columns, H.Rows, Map.RowsRead, H.SouthLatitude,
                H.WestLongitude, H.NorthLatitude, H.EastLongitude);
    for (int32_t R = 0; R < Map.RowsRead; ++R) {
        std::printf("%d", Map.NumData.RowLineGrid.GetVal(0, R));
        for (int32_t C = 0; C < H.Columns; ++C) {
            std::printf(" %d", Map.NumData.HeightGrid.GetVal(R, C));
        }
        std::printf("\n");
    }
    for (int Layer = 0; Layer < talvo::OverlayLayerCount; ++Layer) {
        if (!Overlays.Loaded[static_cast<size_t>(Layer)]) {
            continue;
        }
        const auto& List = Overlays.Lists[static_cast<size_t>(Layer)];
        std::printf("layer %s %zu\n", talvo::OverlayLayerCodes[static_cast<size_t>(Layer)],
                    List.size());
        for (const talvo::OverlayPoint& Point : List) {
            std::printf("%d %.17g %.17g\n", Point.Seq, Point.Lon, Point.Lat);
        }
    }
    return 0;
}
