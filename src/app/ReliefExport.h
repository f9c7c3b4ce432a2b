#pragma once

#include <optional>
#include <string>

#include "model/LoadedMap.h"
#include "platform/Progress.h"
#include "render/ReliefProducts.h"

namespace talvo {

// Writes Options' product of Map's heights (the sea as Sea when given, else without data) to
// Path as a Cloud Optimized GeoTIFF laid where the map lies: a band of bytes for a hillshade (0
// where there is no data, as gdaldem), Float32 degrees for the slope (no data -9999), red, green
// and blue bytes for the red relief (0, 0, 0 where there is no data). Progress hears the
// computation, then the write, and may cancel either (ECancelled); failures are raised naming
// Path or the map.
void ExportRelief(const TLoadedMap& Map, const TReliefOptions& Options, std::optional<double> Sea,
                  const std::string& Path, TProgress& Progress);

} // namespace talvo
