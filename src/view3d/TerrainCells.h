#pragma once

#include <memory>

#include "model/CellWindows.h"
#include "model/LoadedMap.h"
#include "model/Region.h"
#include "platform/Progress.h"

namespace talvo {

// The cells a terrain of a region is built from and the region over them.
struct TTerrainCells {
    std::shared_ptr<const TLoadedMap> Map;
    TRegion Region;
    // The cells of the map the terrain covers: those of its samples' squares.
    TCellWindow Covered;
};

// The cells of Region (checked) of Map. A map held whole gives itself and Region. Of a map read
// by window only the samples are read, as a map of their own of one cell a sample: the cell at the
// centre of its Step × Step square, from the level of detail nearest that square, so that the
// terrain reads no more than it shows. Its region covers that whole map at step 1 and its cell
// size is the squares': the terrain keeps its shape, a unit a sample where a whole map's counts a
// unit a cell.
TTerrainCells TerrainCellsOf(const std::shared_ptr<const TLoadedMap>& Map, const TRegion& Region,
                             TProgress& Progress);

} // namespace talvo
