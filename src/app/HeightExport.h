#pragma once

#include <optional>
#include <string>

#include "model/LoadedMap.h"
#include "platform/Progress.h"
#include "render/ReliefProducts.h"

namespace talvo {

// How the cells of a map are exported.
struct THeightExport {
    // The value the sea's cells are written as; no data when not given.
    std::optional<double> Sea;
    // A product derived from the heights in place of the heights themselves (ExportRelief).
    std::optional<TReliefOptions> Relief;
};

// Writes Map's cells to Path as a single-band Cloud Optimized GeoTIFF through the GDAL module:
// Float32 metres as the source wrote them, or integer class codes; no data -9999; the map's CRS
// and transform. GDAL reads the cells row by row from the map, so that no second copy of them is
// made. The file is written whole or not at all; failures are raised naming Path. Progress hears
// how far the write has come and may cancel it: ECancelled is raised, the previous file stays and
// no temporary file is left. The caller refuses an output that is one of the map's inputs.
void ExportHeights(const TLoadedMap& Map, const THeightExport& Options, const std::string& Path,
                   TProgress& Progress);

// Loads what an export writes with (GDAL), so that a caller may have it start while the map is
// read; an export loads it anyway.
void PrepareExport();

} // namespace talvo
