// Prints what our readers make of a map file, for comparison with another reader:
//   Columns Rows RowsRead
//   SouthLatitude WestLongitude NorthLatitude EastLongitude          (as stored)
//   one line per row read: its line number, then its cells
//   for each overlay layer found beside the map: "layer CODE COUNT", then "Seq Lon Lat" lines
// With "X Y W H COLS ROWS" after a raster GDAL reads, the same of the map that window of it read
// by window gives at COLS × ROWS cells.
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "import/E00Reader.h"
#include "import/GdalCellWindows.h"
#include "import/OpenMap.h"
#include "model/CellWindows.h"

namespace {

// Window of the raster at Path, read by window at Cols × Rows cells.
talvo::TOpenedMap ReadWindow(const char* Path, char** Numbers) {
    int32_t Values[6] = {};
    for (int Index = 0; Index < 6; ++Index) {
        Values[Index] = static_cast<int32_t>(std::strtol(Numbers[Index], nullptr, 10));
    }
    const talvo::TLoadedMap Whole = talvo::OpenGdalRasterByWindow(Path);
    talvo::TProgress Unwatched;
    return {talvo::TOpenOutcome::Loaded,
            Whole.Windows->Read({Values[0], Values[1], Values[2], Values[3]}, Values[4], Values[5],
                                Unwatched),
            {}};
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 8) {
        std::fprintf(stderr, "usage: map_dump FILE [X Y W H COLS ROWS]\n");
        return 2;
    }
    talvo::TLoadedMap Map;
    talvo::TOverlaySet Overlays;
    try {
        talvo::TOpenedMap Opened =
            argc == 8 ? ReadWindow(argv[1], argv + 2) : talvo::OpenMap(argv[1]);
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
    std::printf("%d %d %d\n%.17g %.17g %.17g %.17g\n", H.Columns, H.Rows, Map.RowsRead,
                H.SouthLatitude, H.WestLongitude, H.NorthLatitude, H.EastLongitude);
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
