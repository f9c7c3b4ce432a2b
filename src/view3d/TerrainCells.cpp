#include "view3d/TerrainCells.h"

namespace talvo {

TTerrainCells TerrainCellsOf(const std::shared_ptr<const TLoadedMap>& Map, const TRegion& Region,
                             TProgress& Progress) {
    const int32_t Step = Region.Step;
    const int32_t Cols = Region.SizeX / Step, Rows = Region.SizeY / Step;
    const TCellWindow Covered{Region.StartX, Region.StartY, Cols * Step, Rows * Step};
    if (!Map->Windows) {
        return {Map, Region, Covered};
    }
    auto Samples =
        std::make_shared<const TLoadedMap>(Map->Windows->Read(Covered, Cols, Rows, Progress));
    TRegion Whole = Region;
    Whole.StartX = Whole.StartY = 0;
    Whole.SizeX = Cols;
    Whole.SizeY = Rows;
    Whole.Step = 1;
    return {std::move(Samples), Whole, Covered};
}

} // namespace talvo
