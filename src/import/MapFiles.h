#pragma once

#include <string>
#include <vector>

#include "model/LoadedMap.h"
#include "model/OverlaySet.h"

namespace talvo {

// The files Map was read from: the file opened (every file of a mosaic), its data file or header,
// every file GDAL reads for a GDAL raster (its sources and sidecars; the zip of a zipped one), and
// the overlay files read for it. Outputs must never replace one of them.
std::vector<std::string> MapFiles(const TLoadedMap& Map, const TOverlaySet& Overlays);

} // namespace talvo
