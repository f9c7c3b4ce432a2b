#pragma once

#include <optional>

#include "model/LoadedMap.h"
#include "render/ReliefInput.h"

namespace talvo {

// The heights of Map's picture lines for a relief, in metres as an export writes them: the sea as
// Sea when given, else like the cells without data, NaN. A cell's ground size is the projection's
// (its unit in metres), or for a map in degrees the length of its degrees on the GRS80 ellipsoid
// at the latitude of each line's centre. Raises, naming the map, when Map holds no heights or its
// cells have no size. The input reads Map, which must outlive it.
TReliefInput ReliefInputOf(const TLoadedMap& Map, std::optional<double> Sea);

} // namespace talvo
