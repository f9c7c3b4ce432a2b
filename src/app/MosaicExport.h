#pragma once

#include <string>
#include <vector>

#include "app/HeightExport.h"
#include "platform/Progress.h"

namespace talvo {

// How a mosaic of FG-GML tiles is exported.
struct TMosaicExport {
    // The tiles, zips and packs of them, and folders searched for them; LeftOut are never taken
    // from a folder (the output itself).
    std::vector<std::string> Inputs;
    std::vector<std::string> LeftOut;
    // The sea's value, as ExportHeights takes it.
    std::optional<double> Sea;
    // "EPSG:N" in place of the tiles' CRS; "" for theirs.
    std::string Crs;
    // Tiles read at once; 0 for as many as the processor runs.
    int Jobs = 0;
};

// Writes the mosaic of Options' tiles to Path with the cells and place ExportHeights gives the
// mosaic's map, as a BigTIFF COG whose blocks no tile touches are left out, in memory that does
// not grow with the mosaic: the tiles' structures are read first, then the tiles of each row of
// blocks as it is written, and no limit of a map's cells applies. The file is written whole or not
// at all; an output that is one of the inputs is refused first. Returns what a load of the mosaic
// notes (the folders' entries skipped, the older tiles set aside), "" for nothing.
std::string ExportMosaic(const TMosaicExport& Options, const std::string& Path,
                         TProgress& Progress);

} // namespace talvo
