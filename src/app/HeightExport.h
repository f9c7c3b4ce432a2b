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

// Whether the GeoTIFF at Path is Map's export whole: its header gives Map's size (read first, so
// that a raster of another size is never decoded) and every cell reads.
bool IsExportOf(const std::string& Path, const TLoadedMap& Map);

// Loads what an export writes with (GDAL), so that a caller may have it start while the map is
// read; an export loads it anyway.
void PrepareExport();

// Refuses a CRS ("EPSG:N") that GDAL does not know, before anything is read or written. Without
// the GDAL module nothing is checked: a picture's CRS is written as given.
void CheckOutputCrs(const std::string& Crs);

} // namespace talvo
